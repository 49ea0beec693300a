#pragma once
#include <thread>

namespace app {

// Connects to the D-Bus session bus on a second thread while the main thread reads the fonts and
// builds the main window. The first field the window fills starts Qt's accessibility bridge, which
// needs that connection and would otherwise wait for it on the main thread: a few round trips
// with a running bus, and the start of dbus-launch (tens of milliseconds) where the session has
// none. Start it after the application object; the destructor waits for the thread, so it must
// end before the application object does.
class SessionBusWarmUp {
public:
    SessionBusWarmUp();
    ~SessionBusWarmUp();
    SessionBusWarmUp(const SessionBusWarmUp &) = delete;
    SessionBusWarmUp &operator=(const SessionBusWarmUp &) = delete;

private:
    std::thread m_thread;
};

} // namespace app
