#include "WordGuard.h"

#include "automation/WordAutomation.h"
#include "runtime/MessageBoxes.h"

namespace generator {

bool isWordOpen(automation::ApplicationFactory &factory)
{
    try {
        const std::shared_ptr<automation::Application> running = factory.getRunning();
        return running && running->name() == factory.applicationName();
    } catch (...) {
        return false;
    }
}

bool stopIfWordOpen(automation::ApplicationFactory &factory)
{
    if (!isWordOpen(factory))
        return false;
    const QString question = QStringLiteral(
        "Word may be open. It is recommended that you close Word first. Use Ctrl+Alt+Del > Task Manager > "
        "WINWORD.EXE if necessary.\r\n\r\nWould you like to proceed anyway?");
    return runtime::messageBoxes().askYesNo(runtime::applicationTitle(), question) != runtime::BoxAnswer::Yes;
}

} // namespace generator
