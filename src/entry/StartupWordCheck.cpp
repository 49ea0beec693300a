#include "StartupWordCheck.h"

#include "runtime/MessageBoxes.h"
#include "shell/Startup.h"
#include "automation/WordAutomation.h"

namespace entry {

QString wordMissingMessage()
{
    const QString gap = QStringLiteral("\r\n\r\n");
    return QStringLiteral("Error 842001. A normal instance of Word could not be created.") + gap
        + QStringLiteral("1. Please make sure Word is installed on this computer.") + gap
        + QStringLiteral("2. Please open Word normally and make sure a blank document opens immediately without any "
                         "interrupting window (such as an Word file recovery window).")
        + gap
        + QStringLiteral("3. Please make sure that when you double-click on a DOC or DOCX file that Word opens "
                         "normally without any interrupting messages.")
        + gap
        + QStringLiteral("4. All versions of Word are supported by this software except for the rare Word Starter "
                         "and Student editions.");
}

bool checkWordAvailable(automation::ApplicationFactory &factory)
{
    std::shared_ptr<automation::Application> instance;
    try {
        instance = factory.createNew();
    } catch (...) {
    }
    if (!instance) {
        try {
            runtime::messageBoxes().inform(runtime::applicationTitle(), wordMissingMessage(), runtime::BoxIcon::None);
        } catch (...) {
        }
        shell::endProgram();
        return false;
    }
    try {
        instance->quit();
    } catch (...) {
    }
    return true;
}

} // namespace entry
