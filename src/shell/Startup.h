#pragma once
#include "runtime/ScopedOverride.h"

#include <QString>
#include <QUrl>

namespace shell {

// The start-up's and the ending's edges to the platform, behind one interface so that tests can
// force the home-page roll, see the address that would open and keep the process alive.
class StartupServices {
public:
    virtual ~StartupServices() = default;
    // A whole number from 1 to 100, each equally likely.
    virtual int drawHomePageRoll();
    // Hands the address to the desktop's URL handler (never through a shell command line) and
    // does not wait for it. False when no handler could be started.
    virtual bool openUrl(const QUrl &url);
    // Stops the process at once: no window's close handler and no other clean-up runs. Every
    // field was stored when it changed, so nothing is lost.
    virtual void endProgram();
};

StartupServices &startupServices();
void setStartupServices(StartupServices *services); // null restores the real ones

using ScopedStartupServices = runtime::ScopedOverride<StartupServices, startupServices, setStartupServices>;

// Ends the program; used by closing the main window, closing the preview window and a failed
// word-processor check. Returns only when a test has replaced the services.
void endProgram();

// The value of the roll that opens the maker's home page.
inline constexpr int kHomePageRoll = 7;

// About one start in a hundred opens the maker's home page; start-up does not wait for it.
// Throws runtime::AppError when the address could not be handed to the desktop.
void rollForHomePage(const QString &address);
void rollForHomePage(); // the build's home page

} // namespace shell
