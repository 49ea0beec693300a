#include "EngineSetup.h"
#include "WindowsHost.h"
#include "entry/StartCommand.h"
#include "entry/Form1.h"
#include "shell/AppError.h"
#include "shell/Appearance.h"
#include "shell/FocusFrameStyle.h"
#include "shell/SettingsStore.h"

#include "wordproc/layout/ScriptFonts.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(new shell::FocusFrameStyle); // the application owns it
    QGuiApplication::setDesktopFileName(QStringLiteral("tenvoria"));
    // Before any window lays out text: registering a font later makes Qt draw text it has
    // already shaped with the wrong glyphs.
    wordproc::scriptfonts::prepareWindowsForAllScripts(shell::windowFont(9).families());
    try {
        QApplication::setWindowIcon(shell::applicationIcon());
    } catch (const shell::AppError &) {
        // The icon is decoration; the main window's load reports a missing one.
    }

    shell::SettingsStore store;
    entry::Form1 mainWindow(store, app::engineFactory());
    app::WindowsHost host(mainWindow);
    entry::StartCommand startCreating([&](int pointer) { mainWindow.setMousePointer(pointer); },
                                      [&] { generator::GenerateRentalApplication(app::engineFactory(), host); });
    mainWindow.setStartCommand([&] { startCreating.click(); });
    if (!mainWindow.load())
        return 0;
    mainWindow.showCentred();
    return QApplication::exec();
}
