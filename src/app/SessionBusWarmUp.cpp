#include "SessionBusWarmUp.h"

#include <QDBusConnection>

namespace app {

// Qt makes one session connection per process and hands every later caller the same one; a
// failure here (no bus) is met again, and handled, by the accessibility bridge.
SessionBusWarmUp::SessionBusWarmUp() : m_thread([] { QDBusConnection::sessionBus(); }) {}

SessionBusWarmUp::~SessionBusWarmUp()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace app
