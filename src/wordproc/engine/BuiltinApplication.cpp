// The built-in engine's application, documents and document objects, and its factory.
#include "wordproc/engine/BuiltinArguments.h"
#include "wordproc/engine/BuiltinEngine.h"
#include "base/PrivateFile.h"
#include "wordproc/engine/BuiltinInstances.h"
#include "wordproc/engine/BuiltinState.h"
#include "wordproc/msdoc/DocReader.h"
#include "wordproc/msdoc/DocWriter.h"

#include "base/Failure.h"

#include <QDir>
#include <QStandardPaths>

#include <cmath>

namespace wordproc {
namespace {

void activate(EngineInstance &instance, std::shared_ptr<OpenDocument> document)
{
    std::erase(instance.documents, document);
    instance.documents.push_back(std::move(document));
}

void closeDocument(EngineInstance &instance, OpenDocument &document)
{
    document.open = false;
    std::erase_if(instance.documents, [&](const auto &open) { return open.get() == &document; });
}

class BuiltinDocument final : public automation::Document {
public:
    explicit BuiltinDocument(DocumentHandle handle) : m_handle(std::move(handle)) {}

    std::shared_ptr<automation::PageSetup> pageSetup() override { return makePageSetup(checked()); }
    std::shared_ptr<automation::Selection> activeWindowSelection() override { return makeSelection(checked()); }
    std::shared_ptr<automation::Range> range() override { return makeRange(checked(), std::nullopt); }
    std::shared_ptr<automation::Tables> tables() override { return makeTables(checked()); }

    void saveAs(const QString &fileName) override
    {
        OpenDocument &document = m_handle.document();
        // Not flushed to disk: what the program saves through the engine is the temporary document
        // of one run, deleted on "< Back" and, after a crash, at the next start, so no crash needs
        // it kept, and the flush was the slowest part of the save. Copies the user keeps are written
        // by form::DocumentCopy, durably.
        base::writeFilePrivately(fileName, encodeDoc(document.editor.document()), /*durable=*/false);
        document.path = fileName;
    }

    void close(int saveChanges) override
    {
        OpenDocument &document = m_handle.document();
        constexpr int wdSaveChanges = -1;
        if (saveChanges == wdSaveChanges) {
            if (document.path.isEmpty())
                throw base::Failure(QStringLiteral("The document has not been saved yet; save it with SaveAs first."));
            base::writeFilePrivately(document.path, encodeDoc(document.editor.document()));
        } else if (saveChanges != automation::wdDoNotSaveChanges) {
            throwBadParameter(QStringLiteral("SaveChanges"), QString::number(saveChanges));
        }
        closeDocument(*m_handle.instance(), document);
    }

    const DocumentHandle &handle() const { return m_handle; }

private:
    const DocumentHandle &checked() const
    {
        m_handle.document();
        return m_handle;
    }

    DocumentHandle m_handle;
};

class BuiltinDocuments final : public automation::Documents {
public:
    explicit BuiltinDocuments(std::shared_ptr<EngineInstance> instance) : m_instance(std::move(instance)) {}

    std::shared_ptr<automation::Document> add() override { return adopt(Document{}, QString()); }

    std::shared_ptr<automation::Document> open(const QString &fileName) override
    {
        ensureRunning(*m_instance);
        std::shared_ptr<const StoredDocument> stored = readStoredDoc(fileName);
        if (m_instance->readBack)
            *m_instance->readBack = {fileName, stored};
        // The editor works on its own copy; the stored reading stays as the file has it.
        return adopt(stored->document, fileName);
    }

private:
    std::shared_ptr<automation::Document> adopt(Document model, const QString &path)
    {
        ensureRunning(*m_instance);
        auto document = std::make_shared<OpenDocument>(OpenDocument{Editor(std::move(model)), path, true});
        activate(*m_instance, document);
        return makeDocument(DocumentHandle(m_instance, document));
    }

    std::shared_ptr<EngineInstance> m_instance;
};

class BuiltinApplication final : public automation::Application {
public:
    explicit BuiltinApplication(std::shared_ptr<EngineInstance> instance) : m_instance(std::move(instance)) {}

    QString name() const override
    {
        ensureRunning(*m_instance);
        return kBuiltinEngineName;
    }

    std::shared_ptr<automation::Documents> documents() override
    {
        ensureRunning(*m_instance);
        return std::make_shared<BuiltinDocuments>(m_instance);
    }

    std::shared_ptr<automation::Document> activeDocument() override
    {
        ensureRunning(*m_instance);
        if (m_instance->documents.empty())
            throw base::Failure(QStringLiteral("This command is not available because no document is open."));
        return makeDocument(DocumentHandle(m_instance, m_instance->documents.back()));
    }

    double inchesToPoints(double inches) const override
    {
        ensureRunning(*m_instance);
        if (!std::isfinite(inches))
            throwBadParameter(QStringLiteral("Inches"), QString::number(inches));
        return inches * 72;
    }

    void setDisplayAlerts(bool display) override
    {
        ensureRunning(*m_instance);
        m_instance->displayAlerts = display;
    }

    // Ends the instance: its documents close unsaved and every object of it stops answering.
    void quit() override
    {
        ensureRunning(*m_instance);
        m_instance->alive = false;
        for (const auto &document : m_instance->documents)
            document->open = false;
        m_instance->documents.clear();
        m_instance->lock.reset();
        unregisterInstance(m_instance.get());
    }

private:
    std::shared_ptr<EngineInstance> m_instance;
};

// Another copy of the program runs an instance: it can be seen, not driven.
class InstanceOfAnotherProcess final : public automation::Application {
public:
    QString name() const override { return kBuiltinEngineName; }
    std::shared_ptr<automation::Documents> documents() override { refuse(); }
    std::shared_ptr<automation::Document> activeDocument() override { refuse(); }
    double inchesToPoints(double) const override { refuse(); }
    void setDisplayAlerts(bool) override { refuse(); }
    void quit() override { refuse(); }

private:
    [[noreturn]] static void refuse()
    {
        throw base::Failure(QStringLiteral("This engine instance belongs to another running program and cannot be used from here."));
    }
};

} // namespace

void ensureRunning(const EngineInstance &instance)
{
    if (!instance.alive)
        throw base::Failure(QStringLiteral("The object invoked has disconnected from its clients."));
}

OpenDocument &DocumentHandle::document() const
{
    ensureRunning(*m_instance);
    if (!m_document->open)
        throw base::Failure(QStringLiteral("Object has been deleted."));
    return *m_document;
}

std::shared_ptr<automation::Application> makeApplication(std::shared_ptr<EngineInstance> instance)
{
    return std::make_shared<BuiltinApplication>(std::move(instance));
}

std::shared_ptr<automation::Document> makeDocument(const DocumentHandle &handle)
{
    return std::make_shared<BuiltinDocument>(handle);
}

BuiltinApplicationFactory::BuiltinApplicationFactory(QString lockFilePath)
    : m_lockFilePath(std::move(lockFilePath)), m_readBack(std::make_shared<ReadBack>())
{
}

std::shared_ptr<const StoredDocument> BuiltinApplicationFactory::takeReadBack(const QString &path)
{
    ReadBack taken = std::exchange(*m_readBack, ReadBack{});
    return taken.path == path ? std::move(taken.stored) : nullptr;
}

QString BuiltinApplicationFactory::defaultLockFilePath()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return QDir(runtime).filePath(QStringLiteral("tenvoria-engine.lock"));
    // The temporary folder may be shared between users: the name carries the user's.
    QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    user.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return QDir(QDir::tempPath()).filePath(QStringLiteral("tenvoria-engine-%1.lock").arg(user));
}

std::shared_ptr<automation::Application> BuiltinApplicationFactory::createNew()
{
    auto instance = std::make_shared<EngineInstance>();
    instance->lock = shareEngineLock(m_lockFilePath);
    instance->readBack = m_readBack;
    registerInstance(instance);
    return makeApplication(std::move(instance));
}

std::shared_ptr<automation::Application> BuiltinApplicationFactory::getRunning()
{
    if (auto instance = anyRunningInstance())
        return makeApplication(std::move(instance));
    if (engineLockHeldElsewhere(m_lockFilePath))
        return std::make_shared<InstanceOfAnotherProcess>();
    return nullptr;
}

const Editor &builtinEditor(automation::Document &document)
{
    const auto *builtin = dynamic_cast<BuiltinDocument *>(&document);
    if (!builtin)
        throw base::Failure(QStringLiteral("The document does not belong to the built-in engine."));
    return builtin->handle().editor();
}

} // namespace wordproc

namespace wordproc {
QString BuiltinApplicationFactory::applicationName() const { return kBuiltinEngineName; }
} // namespace wordproc
