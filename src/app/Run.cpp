#include "Run.h"

#include "EndOnSignal.h"
#include "EngineSetup.h"
#include "Program.h"
#include "shell/AppError.h"
#include "shell/Appearance.h"
#include "shell/FocusFrameStyle.h"
#include "shell/FontFaces.h"
#include "shell/QtMessageBoxes.h"
#include "record/SettingsStore.h"
#include "shell/StartupTrace.h"
#include "wordproc/layout/Fonts.h"
#include "wordproc/layout/ScriptFonts.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFileInfo>
#include <QUrl>

namespace {

// The applicant file named on the command line: the first argument that is no option (or any after
// "--"); a file: URL, as some file managers pass one, is taken as its local path.
QString applicantFileArgument(const QStringList &arguments)
{
    bool options = true;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (options && argument == QStringLiteral("--")) {
            options = false;
            continue;
        }
        if (options && argument.startsWith(QLatin1Char('-')))
            continue;
        if (argument.startsWith(QStringLiteral("file:")))
            return QUrl(argument).toLocalFile();
        return argument;
    }
    return {};
}

} // namespace

namespace app {

int runProgram(int argc, char **argv)
{
    shell::useProgramFontConfiguration(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath());
    shell::FontconfigWarmUp fonts; // while the application object connects to the display
    // The File menu stays in the window, where the form's layout keeps its place, instead of
    // moving to a desktop's global menu bar; asking the desktop for one also cost a D-Bus round
    // trip before the window could show.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    shell::startupMark("application object, display connection");
    // The session bus, connected while the fonts are read and the window is built: the first field
    // the window fills starts Qt's accessibility bridge, which would otherwise wait for it on this
    // thread (a few round trips with a running bus, the start of dbus-launch where there is none).
    // Qt makes one connection per process; a failure here is met again, and handled, by the bridge.
    const shell::WarmUp sessionBus([] { QDBusConnection::sessionBus(); });
    QApplication::setStyle(new shell::FocusFrameStyle); // the application owns it
    QGuiApplication::setDesktopFileName(QStringLiteral("tenvoria"));
    shell::QtMessageBoxes boxes; // every message from here on, the store's included, is a window
    const shell::ScopedMessageBoxes useBoxes(boxes);
    // While fontconfig still loads on the other core: the work that draws no text.
    try {
        QApplication::setWindowIcon(shell::applicationIcon());
    } catch (const shell::AppError &) {
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
    if (!program.start(applicantFileArgument(QApplication::arguments())))
        return 0;
    return QApplication::exec();
}

} // namespace app
