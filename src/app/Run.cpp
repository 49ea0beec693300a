#include "Run.h"

#include "CommandLine.h"
#include "EndOnSignal.h"
#include "EngineSetup.h"
#include "Program.h"
#include "SingleInstance.h"
#include "runtime/AppError.h"
#include "shell/Appearance.h"
#include "shell/FocusFrameStyle.h"
#include "runtime/FontFaces.h"
#include "runtime/UiLanguage.h"
#include "shell/QtMessageBoxes.h"
#include "record/SettingsStore.h"
#include "shell/StartupTrace.h"
#include "wordproc/layout/Fonts.h"
#include "wordproc/layout/ScriptFonts.h"
#include "entry/ApplicantFiles.h"
#include "base/Version.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace {

// Help or the version: said on the terminal, and the program ends without a window. Empty when the
// program is to run, after a notice of what it ignores.
std::optional<int> answerCommandLine(const app::CommandLine &line)
{
    using Action = app::CommandLine::Action;
    switch (line.action) {
    case Action::Run:
        if (const QString notice = app::ignoredNotice(line); !notice.isEmpty())
            std::fputs(qPrintable(notice), stderr);
        return std::nullopt;
    case Action::Help:
        std::fputs(qPrintable(app::usageText()), stdout);
        return 0;
    case Action::Version:
        std::printf("tenvoria %s\n", base::build::kVersion);
        return 0;
    }
    return std::nullopt;
}

} // namespace

namespace app {

int runProgram(int argc, char **argv)
{
    // Help and the version need no display; Qt's own options are not ignored: the application object
    // takes them off before the notice is made.
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    if (const app::CommandLine early = readCommandLine(raw); early.action == app::CommandLine::Action::Help
        || early.action == app::CommandLine::Action::Version) {
        // The help in the user's language: its catalogue needs an application object, not a display.
        std::optional<QCoreApplication> terminal;
        if (early.action == app::CommandLine::Action::Help && runtime::uiLanguage() != runtime::UiLanguage::English) {
            terminal.emplace(argc, argv);
            runtime::installTranslations(runtime::uiLanguage(), QCoreApplication::applicationDirPath());
        }
        return *answerCommandLine(early);
    }
    runtime::useProgramFontConfiguration(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath());
    runtime::FontconfigWarmUp fonts; // while the application object connects to the display
    // The File menu stays in the window, where the form's layout keeps its place, instead of
    // moving to a desktop's global menu bar; asking the desktop for one also cost a D-Bus round
    // trip before the window could show.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    shell::startupMark("application object, display connection");
    // The windows in the user's language; the program's catalogues stand beside the executable.
    runtime::installTranslations(runtime::uiLanguage(), QCoreApplication::applicationDirPath());
    const app::CommandLine line = readCommandLine(QApplication::arguments());
    if (const std::optional<int> answered = answerCommandLine(line))
        return *answered;
    // A copy already running on this store takes the file, and this one ends without a window.
    app::SingleInstance instance(record::SettingsStore::userStorePath());
    const QString applicantFile = line.applicantFile.isEmpty() ? QString() : QFileInfo(line.applicantFile).absoluteFilePath();
    const QString applicantsFolder = line.applicantsFolder.isEmpty() ? QString() : QFileInfo(line.applicantsFolder).absoluteFilePath();
    switch (instance.handOver({applicantFile, applicantsFolder}, [] {
        std::fputs("tenvoria: the copy already running on these settings is busy; waiting for it to answer\n", stderr);
    })) {
    case app::SingleInstance::Outcome::Taken:
        return 0;
    case app::SingleInstance::Outcome::NoAnswer: {
        const QString text = QStringLiteral("Tenvoria is already running on these settings, but has not answered for %1 "
                                            "seconds. This start ends rather than open a second window on the same "
                                            "record; the running copy may still take its request once it is free.")
                                 .arg(app::SingleInstance::kPatienceMs / 1000);
        std::fprintf(stderr, "tenvoria: %s\n", qPrintable(text));
        shell::QtMessageBoxes().inform(runtime::applicationTitle(), text, runtime::BoxIcon::Warning);
        return 1;
    }
    case app::SingleInstance::Outcome::NoneRunning:
        break;
    }
    instance.listen();
    // The session bus, connected while the fonts are read and the window is built: the first field
    // the window fills starts Qt's accessibility bridge, which would otherwise wait for it on this
    // thread (a few round trips with a running bus, the start of dbus-launch where there is none).
    // Qt makes one connection per process; a failure here is met again, and handled, by the bridge.
    const runtime::WarmUp sessionBus([] { QDBusConnection::sessionBus(); });
    QApplication::setStyle(new shell::FocusFrameStyle); // the application owns it
    QGuiApplication::setDesktopFileName(QStringLiteral("tenvoria"));
    shell::QtMessageBoxes boxes; // every message from here on, the store's included, is a window
    const runtime::ScopedMessageBoxes useBoxes(boxes);
    // While fontconfig still loads on the other core: the work that draws no text.
    try {
        QApplication::setWindowIcon(shell::applicationIcon());
    } catch (const runtime::AppError &) {
        // The icon is decoration; the main window's load reports a missing one.
    }
    shell::startupMark("application icon");
    record::SettingsStore store;
    shell::startupMark("store read");
    // Before any window lays out text: registering a font later makes Qt draw text it has
    // already shaped with the wrong glyphs.
    fonts.wait();
    shell::startupMark("fontconfig warm-up joined");
    wordproc::fonts::ensureRegistered(); // the form's Tahoma, drawn at the first generation
    shell::startupMark("font list, Tahoma registered");
    // The windows ask Qt for families it lists: "Arial" and the default "Sans Serif" are often only
    // fontconfig's aliases, and for a family it does not list Qt sorts every installed face at the
    // first text before it settles on the very font the alias names.
    shell::useWindowFamily(wordproc::scriptfonts::installedFamily(shell::windowFont(9).family()));
    QFont applicationFont = QApplication::font();
    applicationFont.setFamilies({wordproc::scriptfonts::installedFamily(applicationFont.family())});
    QApplication::setFont(applicationFont);
    wordproc::scriptfonts::prepareWindowsForAllScripts(shell::windowFont(9).families());
    shell::startupMark("script font copies, window font substitutes");

    app::Program program(store, app::engineFactory());
    // Before anything is written: a signal from here on ends the program the way closing it does.
    const app::EndOnSignal endOnSignal([&program] { program.closeForSignal(); });
    shell::startupMark("main window built");
    shell::traceFirstShow(&program.mainWindow());
    if (!program.start(applicantFile))
        return 0;
    if (!applicantsFolder.isEmpty())
        program.mainWindow().applicantFiles().showApplicants(applicantsFolder);
    instance.setReceiver([&program](const app::HandOver &request) { program.receiveHandedOver(request); });
    return QApplication::exec();
}

} // namespace app
