#include "SessionBusWarmUp.h"

#include <QDBusConnection>

#include <system_error>

namespace app {

// Qt makes one session connection per process and hands every later caller the same one; a
// failure here (no bus) is met again, and handled, by the accessibility bridge. Without a second
// thread (a process limit reached), the bridge connects on the main thread as it would anyway.
SessionBusWarmUp::SessionBusWarmUp()
{
    try {
        m_thread = std::thread([] { QDBusConnection::sessionBus(); });
    } catch (const std::system_error &) {
    }
}

SessionBusWarmUp::~SessionBusWarmUp()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace app
