#include "FormDocument.h"

#include "base/Failure.h"
#include "generator/FormLayout.h"
#include "generator/FormWording.h"
#include "generator/RentalApplication.h"
#include "automation/WordAutomation.h"
#include "record/RecordValues.h"
#include "runtime/MessageBoxes.h"
#include "wordproc/editing/Editor.h"
#include "wordproc/engine/BuiltinEngine.h"
#include "wordproc/layout/PrintedPages.h"
#include "wordproc/msdoc/DocReader.h"
#include "wordproc/msdoc/DocWriter.h"

#include <QStringList>

#include <variant>

namespace form {
namespace {

void addParagraphs(const std::vector<wordproc::Paragraph> &paragraphs, QStringList &lines)
{
    for (const wordproc::Paragraph &paragraph : paragraphs)
        if (const QString text = paragraph.text().trimmed(); !text.isEmpty())
            lines.append(text);
}

} // namespace

// The words of the form's title row, so that the title is written in one place.
QString title(record::FormLanguage language) { return generator::formText(generator::formRows().front().cells[0].label, language); }

FormDocument::FormDocument(std::shared_ptr<const wordproc::StoredDocument> stored) : m_stored(std::move(stored))
{
    if (!m_stored)
        throw base::Failure(QStringLiteral("There is no document."));
}

FormDocument FormDocument::read(const QString &path) { return FormDocument(wordproc::readStoredDoc(path)); }

FormDocument FormDocument::fromBytes(QByteArray docBytes)
{
    return FormDocument(wordproc::storedDocument(std::move(docBytes)));
}

const QByteArray &FormDocument::docBytes() const { return m_stored->bytes; }
const wordproc::Document &FormDocument::document() const { return m_stored->document; }

void FormDocument::setUpPaper(QPagedPaintDevice &device) const { wordproc::setUpPaper(document().page, device); }

void FormDocument::draw(QPagedPaintDevice &device) const { wordproc::drawPages(document(), device); }

QString FormDocument::title() const
{
    for (const wordproc::Block &block : document().body) {
        const auto *table = std::get_if<wordproc::Table>(&block);
        if (!table)
            continue;
        QStringList lines;
        if (!table->rows.empty() && !table->rows.front().cells.empty())
            addParagraphs(table->rows.front().cells.front().paragraphs, lines);
        if (!lines.isEmpty())
            return lines.join(u' ');
        break;
    }
    return form::title();
}

QByteArray FormDocument::pdf() const { return wordproc::pdfOf(document(), title()); }

QString FormDocument::readingText() const
{
    QStringList lines;
    for (const wordproc::Block &block : document().body) {
        if (const auto *paragraph = std::get_if<wordproc::Paragraph>(&block)) {
            addParagraphs({*paragraph}, lines);
            continue;
        }
        for (const wordproc::Row &row : std::get<wordproc::Table>(block).rows)
            for (const wordproc::Cell &cell : row.cells)
                addParagraphs(cell.paragraphs, lines);
    }
    return lines.join(u'\n');
}

FormDocument build(const record::RecordValues &record)
{
    QStringList problems;
    QByteArray bytes;
    {
        runtime::CollectingMessageBoxes boxes(problems);
        runtime::ScopedMessageBoxes scope(boxes);
        wordproc::BuiltinApplicationFactory engine;
        std::shared_ptr<automation::Application> app;
        const std::shared_ptr<automation::Document> doc = generator::buildRentalApplication(engine, record, app);
        try {
            if (doc)
                bytes = wordproc::encodeDoc(wordproc::builtinEditor(*doc).document());
        } catch (const base::Failure &e) {
            problems << e.description();
        }
        if (app)
            app->quit();
    }
    if (!problems.isEmpty())
        throw base::Failure(problems.front());
    if (bytes.isEmpty())
        throw base::Failure(QStringLiteral("The form could not be built."));
    return FormDocument::fromBytes(std::move(bytes));
}

} // namespace form
