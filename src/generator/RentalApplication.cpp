#include "RentalApplication.h"

#include "FormLayout.h"
#include "FormWording.h"
#include "OutputFiles.h"
#include "automation/WordAutomation.h"
#include "WordGuard.h"
#include "record/RecordValues.h"
#include "runtime/AppError.h"
#include "runtime/ErrorTrap.h"
#include "runtime/FileUtils.h"
#include "runtime/HeldFiles.h"

namespace generator {
namespace {

using namespace automation;

// Lengths go through the engine's own conversion at the moment of the call.
struct Inches {
    double value;
};

// Numbers the generator's steps 100, 102, ... as the error report shows them.
class Steps {
public:
    explicit Steps(runtime::ErrorTrap &trap, int first = 100) : m_trap(trap), m_next(first) {}
    // True when the statement completed.
    template <class F> bool operator()(F &&statement)
    {
        const bool done = m_trap.line(m_next, std::forward<F>(statement));
        m_next += 2;
        return done;
    }
    // Leaves a step out, keeping the labels of those after it.
    void skip() { m_next += 2; }
    void skipTo(int label) { m_next = label; }
    int next() const { return m_next; }
    // A checkpoint where a group of steps starts. The labels are what the error report shows, so a
    // call added or dropped above must not shift every later label unnoticed: that is a fault of
    // the program, not of the run, and stops it on the first generation.
    void expect(int label) const
    {
        if (m_next != label)
            qFatal("Generator steps out of place: step %d stands where step %d belongs", m_next, label);
    }

private:
    runtime::ErrorTrap &m_trap;
    int m_next;
};

void requireObject(const void *object)
{
    if (!object)
        throw runtime::AppError(QStringLiteral("Object variable not set."));
}

std::shared_ptr<Documents> documentsOf(const std::shared_ptr<Application> &app)
{
    requireObject(app.get());
    auto documents = app->documents();
    requireObject(documents.get());
    return documents;
}

// Issues the row recipes through the document's selection, one automation call per step.
class TableWalk {
public:
    TableWalk(Steps &steps, const std::shared_ptr<Application> &app, const std::shared_ptr<Document> &doc,
              const record::RecordValues &record)
        : m_step(steps), m_app(app), m_doc(doc), m_record(record)
    {
    }

    void row(const RowSpec &spec, bool last)
    {
        m_step.expect(spec.firstStep);
        switch (spec.recipe) {
        case Recipe::Title: title(spec); break;
        case Recipe::Heading: heading(spec); break;
        case Recipe::WholeRow:
            mergeAcross(3);
            type(spec.cells[0]);
            height(wdRowHeightAtLeast, 0.2);
            centre();
            break;
        case Recipe::Triple:
            type(spec.cells[0]);
            height(wdRowHeightAtLeast, 0.2);
            centre();
            move(1);
            centre();
            type(spec.cells[1]);
            move(1);
            centre();
            type(spec.cells[2]);
            break;
        case Recipe::TwoPlusOne:
            mergeAcross(2);
            type(spec.cells[0]);
            height(wdRowHeightAtLeast, 0.2);
            centre();
            move(1);
            type(spec.cells[1]);
            break;
        case Recipe::OnePlusTwo:
            type(spec.cells[0]);
            height(wdRowHeightAtLeast, 0.2);
            centre();
            move(1);
            mergeAcross(2);
            centre();
            type(spec.cells[1]);
            break;
        case Recipe::References:
            type(spec.cells[0]);
            height(wdRowHeightAtLeast, 0.2);
            centre();
            move(1);
            type(spec.cells[1]);
            move(1);
            type(spec.cells[2]);
            for (int blankRowStep : {972, 978}) { // the two rows below are formatted, never typed
                m_step.expect(blankRowStep);
                m_step([&] { sel()->moveDown(wdLine, 1); });
                height(wdRowHeightAtLeast, 0.2);
            }
            break;
        case Recipe::Statement:
            mergeAcross(3);
            type(spec.cells[0]);
            height(wdRowHeightExactly, 0.35);
            centre();
            break;
        case Recipe::Signature:
            mergeAcross(2);
            type(spec.cells[0], QStringLiteral("\r\n"));
            height(wdRowHeightExactly, 0.35);
            centre();
            move(1);
            type(spec.cells[1], QStringLiteral("\r\n"));
            centre();
            break;
        }
        if (!last)
            move(2);
    }

private:
    std::shared_ptr<Selection> sel() const
    {
        requireObject(m_doc.get());
        auto selection = m_doc->activeWindowSelection();
        requireObject(selection.get());
        return selection;
    }
    double points(Inches length) const
    {
        requireObject(m_app.get());
        return m_app->inchesToPoints(length.value);
    }

    void move(int count) { m_step([&] { sel()->moveRight(wdCharacter, count); }); }
    void mergeAcross(int cells)
    {
        m_step([&] { sel()->moveRight(wdCharacter, cells, wdExtend); });
        m_step([&] { sel()->mergeCells(); });
    }
    void type(const CellSpec &cell, const QString &before = QString())
    {
        m_step([&] { sel()->typeText(before + cellText(cell, m_record)); });
    }
    void height(int rule, double inches)
    {
        m_step([&] { sel()->setRowsHeightRule(rule); });
        m_step([&] { sel()->setRowsHeight(points(Inches{inches})); });
    }
    void centre() { m_step([&] { sel()->setCellsVerticalAlignment(wdCellAlignVerticalCenter); }); }
    void shade(std::int32_t background)
    {
        std::shared_ptr<Shading> shading;
        m_step([&] { shading = sel()->cellsShading(); });
        m_step([&] { requireObject(shading.get()); shading->setTexture(wdTextureNone); });
        m_step([&] { requireObject(shading.get()); shading->setForegroundPatternColor(wdColorAutomatic); });
        m_step([&] { requireObject(shading.get()); shading->setBackgroundPatternColor(background); });
    }
    void title(const RowSpec &spec)
    {
        mergeAcross(3);
        shade(14478320); // RGB 240, 235, 220
        m_step([&] { sel()->setFontColor(153); }); // RGB 153, 0, 0
        m_step([&] { sel()->setParagraphAlignment(wdAlignParagraphCenter); });
        m_step([&] { sel()->setFontSize(16); });
        m_step([&] { sel()->setFontName(QStringLiteral("Tahoma")); });
        m_step([&] { sel()->setFontBold(true); });
        type(spec.cells[0]);
        height(wdRowHeightAtLeast, 0.37);
        centre();
    }
    void heading(const RowSpec &spec)
    {
        mergeAcross(3);
        shade(0);
        m_step([&] { sel()->setFontColor(16777215); });
        m_step([&] { sel()->setFontSize(9); });
        m_step([&] { sel()->setFontName(QStringLiteral("Tahoma")); });
        m_step([&] { sel()->setFontBold(true); });
        type(spec.cells[0]);
        height(wdRowHeightAtLeast, 0.22);
        centre();
    }

    Steps &m_step;
    const std::shared_ptr<Application> &m_app;
    const std::shared_ptr<Document> &m_doc;
    const record::RecordValues &m_record;
};

void setUpPage(Steps &step, const std::shared_ptr<Application> &app, const std::shared_ptr<Document> &doc)
{
    std::shared_ptr<PageSetup> page;
    step([&] { requireObject(doc.get()); page = doc->pageSetup(); });
    const auto pt = [&](double inches) { requireObject(app.get()); return app->inchesToPoints(inches); };
    const auto on = [&](auto &&set) { step([&] { requireObject(page.get()); set(*page); }); };
    on([](PageSetup &p) { p.setLineNumberingActive(false); });
    on([](PageSetup &p) { p.setOrientation(wdOrientPortrait); });
    on([&](PageSetup &p) { p.setTopMargin(pt(0.6)); });
    on([&](PageSetup &p) { p.setBottomMargin(pt(0.6)); });
    on([&](PageSetup &p) { p.setLeftMargin(pt(0.75)); });
    on([&](PageSetup &p) { p.setRightMargin(pt(0.75)); });
    on([&](PageSetup &p) { p.setGutter(pt(0)); });
    on([&](PageSetup &p) { p.setHeaderDistance(pt(0.5)); });
    on([&](PageSetup &p) { p.setFooterDistance(pt(0.5)); });
    on([&](PageSetup &p) { p.setPageWidth(pt(8.5)); });
    on([&](PageSetup &p) { p.setPageHeight(pt(11)); });
    on([](PageSetup &p) { p.setFirstPageTray(wdPrinterDefaultBin); });
    on([](PageSetup &p) { p.setOtherPagesTray(wdPrinterDefaultBin); });
    on([](PageSetup &p) { p.setSectionStart(wdSectionNewPage); });
    on([](PageSetup &p) { p.setOddAndEvenPagesHeaderFooter(false); });
    on([](PageSetup &p) { p.setDifferentFirstPageHeaderFooter(false); });
    on([](PageSetup &p) { p.setVerticalAlignment(wdAlignVerticalTop); });
    on([](PageSetup &p) { p.setSuppressEndnotes(false); });
    on([](PageSetup &p) { p.setMirrorMargins(false); });
    on([](PageSetup &p) { p.setTwoPagesOnOne(false); });
    on([](PageSetup &p) { p.setBookFoldPrinting(false); });
    on([](PageSetup &p) { p.setBookFoldRevPrinting(false); });
    on([](PageSetup &p) { p.setBookFoldPrintingSheets(1); });
    on([](PageSetup &p) { p.setGutterPos(wdGutterPosLeft); });
}

// A field holds one line. A line break in it (pasted into the field, or read from the store) would
// otherwise reach the engine's TypeText as a paragraph break and split the cell; as a space it
// meets the same fate as every other control character the engine cleans from typed text.
QString asOneLine(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

QString cellText(const CellSpec &cell, const record::RecordValues &record)
{
    const record::FormLanguage language = record.formLanguage();
    const QString label = formText(cell.label, language);
    const QString field = QString::fromLatin1(cell.field);
    switch (cell.source) {
    case Source::None: return label;
    case Source::Text: return label + asOneLine(record.textOf(field));
    case Source::HouseWord: return label + formText(record.isSelected(field) ? "Own" : "Rent", language);
    case Source::PayWord: return label + formText(record.isSelected(field) ? "Salary" : "Hourly", language);
    }
    return label;
}

namespace {

// Steps 102 to 1036: a new instance, a document with the form's page, and the whole table.
void buildForm(Steps &step, ApplicationFactory &factory, const record::RecordValues &record,
               std::shared_ptr<Application> &app, std::shared_ptr<Document> &doc)
{
    step.expect(102);
    step([&] { app = factory.createNew(); });
    step([&] { // 104
        doc = documentsOf(app)->add();
        requireObject(doc.get());
    });
    setUpPage(step, app, doc); // 106 - 154
    step.expect(156);

    const auto sel = [&] {
        requireObject(doc.get());
        auto selection = doc->activeWindowSelection();
        requireObject(selection.get());
        return selection;
    };
    step([&] { sel()->setFontName(QStringLiteral("Tahoma")); }); // 156
    step([&] { sel()->setFontSize(8); }); // 158
    std::shared_ptr<Table> table;
    step.expect(160);
    step([&] {
        requireObject(app.get());
        const auto active = app->activeDocument();
        requireObject(active.get());
        const auto tables = active->tables();
        requireObject(tables.get());
        const auto at = sel()->range();
        requireObject(at.get());
        table = tables->add(at, kFormRowCount, kFormColumnCount, wdWord9TableBehavior, wdAutoFitFixed);
    });
    step([&] { requireObject(table.get()); }); // 162: the table is held while its style is set
    step([&] { requireObject(table.get()); table->setStyle(QStringLiteral("Table Grid")); });
    step([&] { requireObject(table.get()); table->setApplyStyleHeadingRows(true); });
    step([&] { requireObject(table.get()); table->setApplyStyleLastRow(true); });
    step([&] { requireObject(table.get()); table->setApplyStyleFirstColumn(true); });
    step([&] { requireObject(table.get()); table->setApplyStyleLastColumn(true); }); // 172
    table.reset();

    TableWalk walk(step, app, doc, record); // 174 - 1036
    const auto rows = formRows();
    for (size_t i = 0; i < rows.size(); ++i)
        walk.row(rows[i], i + 1 == rows.size());
    step.expect(1038);
}

runtime::ErrorTrap generatorTrap()
{
    return runtime::ErrorTrap(QStringLiteral("RentalApplication"), QStringLiteral("GenerateRentalApplication"));
}

} // namespace

std::shared_ptr<automation::Document> buildRentalApplication(ApplicationFactory &factory,
                                                             const record::RecordValues &record,
                                                             std::shared_ptr<automation::Application> &app)
{
    runtime::ErrorTrap trap = generatorTrap();
    Steps step(trap, 102);
    std::shared_ptr<Document> doc;
    buildForm(step, factory, record, app, doc);
    return doc;
}

void generateRentalApplication(ApplicationFactory &factory, GenerationHost &host, const GenerationOptions &options)
{
    runtime::ErrorTrap trap = generatorTrap();
    Steps step(trap);
    bool stop = false;
    step([&] { stop = stopIfWordOpen(factory); }); // 100
    if (stop)
        return;

    std::shared_ptr<Application> app;
    std::shared_ptr<Document> doc;
    buildForm(step, factory, host.record(), app, doc);

    const QString folder = options.temporaryFolder.isEmpty() ? temporaryFolder() : options.temporaryFolder;
    const std::function<int()> digit = options.digit ? options.digit : randomDigit;
    QString path;
    // 1038 - 1052: the name is drawn and claimed in one go, so that no other program can take it
    // between the check and the save.
    step.skipTo(1052);
    const bool claimed = step([&] { path = claimTemporaryDocument(folder, digit); });
    bool saved = false;
    if (claimed)
        saved = step([&] {
            requireObject(doc.get());
            doc->saveAs(path);
            runtime::holdFile(path); // the saved file replaced the claimed one: the hold moves to it
        });
    else
        step.skip();
    // A document that could not be saved is not handed on: its claimed name goes, and what
    // follows would only report the same cause again.
    if (claimed && !saved)
        runtime::deleteFileQuietly(path);
    step([&] { requireObject(app.get()); app->setDisplayAlerts(false); });
    step([&] { requireObject(doc.get()); doc->close(); });
    step([&] { requireObject(app.get()); app->quit(); });
    step([&] { doc.reset(); }); // 1062
    step([&] { app.reset(); }); // 1064
    if (!saved)
        return;
    bool pictured = false;
    step([&] { pictured = savePageBitmap(factory, path, folder); }); // 1066
    if (!pictured) {
        // Its own steps reported why; a preview without its page is not shown.
        runtime::deleteFileQuietly(path);
        runtime::deleteFileQuietly(pageImagePath(folder));
        return;
    }
    step([&] { host.setMainPointerDefault(); });
    GenerationResult result;
    step([&] { result.picture = loadPageImage(pageImagePath(folder)); }); // 1070
    step([&] {
        result.wordFile = path;
        host.handOverResult(result);
    });
    step([&] { host.showPreview(); });
    step([&] { host.hideMain(); });
    step([&] { runtime::deleteFileQuietly(pageImagePath(folder)); }); // 1078
    step.expect(1080);
}

bool savePageBitmap(ApplicationFactory &factory, const QString &path, const QString &temporaryFolder)
{
    runtime::ErrorTrap trap(QStringLiteral("RentalApplication"), QStringLiteral("SaveDocAsJPG"));
    Steps step(trap, 116);
    std::shared_ptr<Application> app;
    std::shared_ptr<Document> doc;
    QImage picture;
    step([&] { app = factory.createNew(); }); // 116
    bool written = false;
    if (step([&] { // 118
            doc = documentsOf(app)->open(path);
            requireObject(doc.get());
        })) {
        // Without a picture there is nothing to write; the missing picture is the same cause.
        if (step([&] { // 120
                const std::shared_ptr<Range> range = doc->range();
                requireObject(range.get());
                picture = range->copyAsPicture();
            }))
            written = step([&] { writePageImage(picture, pageImagePath(temporaryFolder)); }); // 122
        else
            step.skip();
    } else {
        step.skip();
        step.skip();
    }
    step([&] { // 124
        requireObject(app.get());
        const std::shared_ptr<Document> active = app->activeDocument();
        requireObject(active.get());
        active->close(wdDoNotSaveChanges);
    });
    step([&] { requireObject(app.get()); app->quit(); }); // 126
    return written;
}

} // namespace generator
