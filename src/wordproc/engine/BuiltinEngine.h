#pragma once
// The built-in word processor behind the automation interface: in-process, always available.
#include "wordproc/model/DocumentModel.h"
#include "automation/WordAutomation.h"

#include <QString>

#include <memory>

namespace wordproc {

class Editor;
struct StoredDocument;
struct ReadBack;

// What the built-in engine answers for the application's name (its default property).
inline const QString kBuiltinEngineName = QStringLiteral("Tenvoria Word Engine");

// Creates built-in engine instances. An instance counts as running from its creation until its
// Quit, like a word processor left open, even when nobody holds it any more. While any instance
// of this process runs, the process holds a per-user lock file, so that another copy of the
// program finds it running too.
class BuiltinApplicationFactory final : public automation::ApplicationFactory {
public:
    explicit BuiltinApplicationFactory(QString lockFilePath = defaultLockFilePath());

    // The per-user lock file: in the runtime folder, else in the temporary folder.
    static QString defaultLockFilePath();

    std::shared_ptr<automation::Application> createNew() override;
    // An instance of this process that has not quit; else, when another process holds the lock,
    // a stand-in that answers the engine's name and refuses everything else; else null.
    std::shared_ptr<automation::Application> getRunning() override;
    QString applicationName() const override;

    // The last document an instance of this factory opened from a file, as that file stored it
    // (its bytes and their decoding), when it was opened from `path`; null otherwise. Taking it
    // empties the slot: whoever shows the document next holds it instead of reading the file
    // again, and the factory holds no document for longer than that.
    std::shared_ptr<const StoredDocument> takeReadBack(const QString &path);

private:
    QString m_lockFilePath;
    std::shared_ptr<ReadBack> m_readBack;
};

// The editor behind a built-in engine's document, for inspection. Throws base::Failure for a
// document of another engine, a closed document or one whose instance has quit.
const Editor &builtinEditor(automation::Document &document);

} // namespace wordproc
