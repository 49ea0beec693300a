#include "StartCommand.h"

#include "runtime/ErrorTrap.h"
#include "shell/PointerRules.h"

namespace entry {

void StartCommand::click()
{
    runtime::ErrorTrap trap(QStringLiteral("Form1"), QStringLiteral("PushButton1_Click"));
    if (trap.test(100, [&] { return m_busy; }))
        return;
    trap.line(102, [&] { m_busy = true; });
    trap.line(104, [&] { m_setPointer(shell::Pointer::Busy); });
    trap.line(106, [&] { m_generate(); });
    trap.line(108, [&] { m_setPointer(shell::Pointer::Default); });
    trap.line(110, [&] { m_busy = false; });
}

} // namespace entry
