#pragma once
// The state of built-in engine instances and the handles the automation objects keep on it.
// Every automation object holds its instance (and document), so each call can tell whether the
// instance has quit or the document was closed, as a call into an out-of-process server would.
#include "wordproc/editing/Editor.h"
#include "automation/WordAutomation.h"

#include <QString>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace wordproc {

class EngineLock;
struct StoredDocument;

// The slot a factory's instances leave the last document they opened in (BuiltinEngine.h).
struct ReadBack {
    QString path;
    std::shared_ptr<const StoredDocument> stored;
};

struct OpenDocument {
    Editor editor;
    QString path; // where it was last saved or opened from; empty for a new document
    bool open = true;
};

struct EngineInstance {
    bool alive = true;
    bool displayAlerts = true;
    std::vector<std::shared_ptr<OpenDocument>> documents; // in activation order: the last is active
    std::shared_ptr<EngineLock> lock;
    std::shared_ptr<ReadBack> readBack; // null for instances of no factory
};

// Throws the description a call on a quit instance gets.
void ensureRunning(const EngineInstance &instance);

class DocumentHandle {
public:
    DocumentHandle(std::shared_ptr<EngineInstance> instance, std::shared_ptr<OpenDocument> document)
        : m_instance(std::move(instance)), m_document(std::move(document)) {}
    OpenDocument &document() const; // throws once the instance quit or the document closed
    Editor &editor() const { return document().editor; }
    const std::shared_ptr<EngineInstance> &instance() const { return m_instance; }
    const std::shared_ptr<OpenDocument> &documentPointer() const { return m_document; }

private:
    std::shared_ptr<EngineInstance> m_instance;
    std::shared_ptr<OpenDocument> m_document;
};

// A range of a document as it stood when the range was taken; no range is the whole document.
using RangeSnapshot = std::optional<std::pair<Position, Position>>;

std::shared_ptr<automation::Application> makeApplication(std::shared_ptr<EngineInstance> instance);
std::shared_ptr<automation::Document> makeDocument(const DocumentHandle &handle);
std::shared_ptr<automation::Selection> makeSelection(const DocumentHandle &handle);
std::shared_ptr<automation::PageSetup> makePageSetup(const DocumentHandle &handle);
std::shared_ptr<automation::Tables> makeTables(const DocumentHandle &handle);
std::shared_ptr<automation::Range> makeRange(const DocumentHandle &handle, RangeSnapshot snapshot);

// Where a range of this engine starts, provided it belongs to the handle's document.
Position rangeStartIn(const DocumentHandle &handle, const std::shared_ptr<automation::Range> &range);

} // namespace wordproc
