#pragma once
#include "form/FormDocument.h"
#include "automation/WordAutomation.h"
#include "wordproc/engine/BuiltinEngine.h"

#include <optional>

namespace form {

// The built-in engine as the program's windows run the generator on it, offering the form
// document its instances last read back from a saved file: the preview prints and reads aloud the
// document its page was drawn from, and nobody above the form layer needs to know which engine
// that was.
class FormEngine final : public automation::ApplicationFactory {
public:
    explicit FormEngine(QString lockFilePath = wordproc::BuiltinApplicationFactory::defaultLockFilePath());

    std::shared_ptr<automation::Application> createNew() override;
    std::shared_ptr<automation::Application> getRunning() override;
    QString applicationName() const override;

    // The document the engine last opened from a file, when that was `wordFile`; taking it empties
    // the slot. Nothing when the last document opened came from another file.
    std::optional<FormDocument> takeReadBack(const QString &wordFile);

private:
    wordproc::BuiltinApplicationFactory m_engine;
};

} // namespace form
