#pragma once
#include <QImage>
#include <QString>

#include <functional>
#include <optional>
#include <memory>

namespace automation {
class Application;
class ApplicationFactory;
class Document;
} // namespace automation
namespace record {
class RecordValues;
}

namespace generator {

// What a run hands the preview: the page's picture and the document it shows.
struct GenerationResult {
    std::optional<QImage> picture;
    QString wordFile;
};

// What a generation run needs from the windows: the record as the main window shows it, and
// the hand-over of the result to the preview.
class GenerationHost {
public:
    virtual ~GenerationHost() = default;
    virtual const record::RecordValues &record() const = 0;
    virtual void setMainPointerDefault() = 0;
    // The run's result for the preview, handed over at once; loads the preview window first when
    // it is not loaded yet. Without a picture (its reading failed and was reported) the preview
    // keeps the one it shows and takes the document alone.
    virtual void handOverResult(const GenerationResult &result) = 0;
    virtual void showPreview() = 0;
    virtual void hideMain() = 0;
};

struct GenerationOptions {
    QString temporaryFolder;          // empty: TEMP or the platform's temporary folder
    std::function<int()> digit;       // empty: the system's random source
};

// Builds the rental application form from the record, saves it as a temporary document, renders
// its page and hands both to the preview. Every step is a labelled line of the generator's error
// trap: a failing step is reported and the run goes on, except that a document that could not be
// saved, or whose page could not be drawn, ends the run after its engine is closed: the one report
// says why, and no preview without a document or page is shown.
void generateRentalApplication(automation::ApplicationFactory &factory, GenerationHost &host,
                               const GenerationOptions &options = {});

// Steps 102 to 1036 alone: a new instance holding the finished form document, not saved. For
// benchmarks and tools; the instance is handed back in `app` for the caller to quit.
std::shared_ptr<automation::Document> buildRentalApplication(automation::ApplicationFactory &factory,
                                                             const record::RecordValues &record,
                                                             std::shared_ptr<automation::Application> &app);

// Renders the saved document's page in a fresh engine instance and writes it to the page image
// file of `temporaryFolder`. True when the picture was written; each failure is reported.
bool savePageBitmap(automation::ApplicationFactory &factory, const QString &path, const QString &temporaryFolder);

// The text typed into one cell of the form for the given record; a field's line breaks become spaces.
QString cellText(const struct CellSpec &cell, const record::RecordValues &record);

} // namespace generator
