#include "StartCommand.h"

#include "shell/ErrorTrap.h"

namespace entry {

namespace {
constexpr int kDefaultPointer = 0;
constexpr int kBusyPointer = 11;
} // namespace

void StartCommand::click()
{
    shell::ErrorTrap trap(QStringLiteral("Form1"), QStringLiteral("PushButton1_Click"));
    if (trap.test(100, [&] { return mBusy; }))
        return;
    trap.line(102, [&] { mBusy = true; });
    trap.line(104, [&] { m_setPointer(kBusyPointer); });
    trap.line(106, [&] { m_generate(); });
    trap.line(108, [&] { m_setPointer(kDefaultPointer); });
    trap.line(110, [&] { mBusy = false; });
}

} // namespace entry
