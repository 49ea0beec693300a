#include "form/FormEngine.h"

namespace form {

FormEngine::FormEngine(QString lockFilePath) : m_engine(std::move(lockFilePath)) {}

std::shared_ptr<automation::Application> FormEngine::createNew() { return m_engine.createNew(); }

std::shared_ptr<automation::Application> FormEngine::getRunning() { return m_engine.getRunning(); }

QString FormEngine::applicationName() const { return m_engine.applicationName(); }

std::optional<FormDocument> FormEngine::takeReadBack(const QString &wordFile)
{
    if (std::shared_ptr<const wordproc::StoredDocument> stored = m_engine.takeReadBack(wordFile))
        return FormDocument(std::move(stored));
    return std::nullopt;
}

} // namespace form
