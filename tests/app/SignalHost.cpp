// The program as main() wires it, with its signal handling, for the signal test: it fills in the
// sample record, generates the form into the folder given, prints the temporary document's path
// once the preview shows it, and waits for the event loop to be ended.
#include "NoHomePage.h"
#include "app/EndOnSignal.h"
#include "app/Program.h"
#include "entry/MainWindow.h"
#include "preview/PreviewWindow.h"
#include "record/SettingsStore.h"
#include "form/FormEngine.h"
#include "wordproc/engine/BuiltinEngine.h"

#include <QApplication>
#include <QPushButton>

#include <cstdio>

int main(int argc, char **argv)
{
    testsupport::NoHomePage services;
    shell::setStartupServices(&services);
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    form::FormEngine engine(folder + QStringLiteral("/engine.lock"));
    record::SettingsStore store(folder + QStringLiteral("/Marrowick.conf"));
    app::Program program(store, engine, {folder, {}});
    const app::EndOnSignal endOnSignal([&program] { program.closeForSignal(); });
    if (!program.start())
        return 3;
    program.mainWindow().findChild<QPushButton *>(QStringLiteral("PushButton3"))->click(); // sample
    program.mainWindow().findChild<QPushButton *>(QStringLiteral("PushButton1"))->click(); // start creating
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *preview = qobject_cast<preview::PreviewWindow *>(window); preview && preview->isVisible()) {
            std::printf("%s\n", qPrintable(preview->wordFile()));
            std::fflush(stdout);
            return QApplication::exec();
        }
    }
    std::fprintf(stderr, "the preview was not shown\n");
    return 4;
}
