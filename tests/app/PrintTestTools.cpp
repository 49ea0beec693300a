#include "PrintTestTools.h"

#include "ScriptedMessageBoxes.h"
#include "record/RecordCatalogue.h"
#include "entry/RecordWidgets.h"
#include "entry/SampleData.h"
#include "generator/RentalApplication.h"
#include "runtime/ErrorTrap.h"
#include "wordproc/engine/BuiltinEngine.h"
#include "wordproc/msdoc/DocReader.h"
#include "RecordingGenerationHost.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QWidget>
#include <QXmlStreamReader>

namespace printtest {
namespace {


void fill(const entry::RecordWidgets &record, Record kind)
{
    if (kind == Record::Sample) {
        runtime::ErrorTrap trap(QStringLiteral("PrintTest"), QStringLiteral("fill"));
        entry::loadSampleData(record, trap);
    } else if (kind == Record::Long) {
        // Every field holds a few hundred words: the form runs over many pages.
        const QString words = QStringLiteral("lorem ipsum dolor sit amet consectetur adipiscing elit ");
        int i = 0;
        for (const record::TextFieldSpec &field : record::textFields()) {
            ++i;
            record.text(QLatin1String(field.id))
                ->setText(QStringLiteral("F%1 ").arg(i) + words.repeated(10) + QStringLiteral("end%1").arg(i));
        }
        for (const record::ChoiceSpec &choice : record::choices())
            record.option(QLatin1String(choice.secondId))->setChecked(true);
    }
}

} // namespace

QString generateForm(Record record, const QString &folder, QStringList *cellTexts)
{
    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes scope(boxes);
    wordproc::BuiltinApplicationFactory factory(QDir(folder).filePath(QStringLiteral("engine.lock")));
    testsupport::RecordingGenerationHost host;
    fill(host.widgets, record);
    generator::generateRentalApplication(factory, host, {folder, {}});
    if (host.wordFile.isEmpty() || (record != Record::Long && !boxes.shown.empty()))
        return QString();
    if (cellTexts) {
        cellTexts->clear();
        for (const wordproc::Block &block : wordproc::readDoc(host.wordFile).body) {
            const auto *table = std::get_if<wordproc::Table>(&block);
            if (!table)
                continue;
            for (const wordproc::Row &row : table->rows)
                for (const wordproc::Cell &cell : row.cells)
                    for (const wordproc::Paragraph &paragraph : cell.paragraphs)
                        if (!paragraph.text().trimmed().isEmpty())
                            *cellTexts << paragraph.text().simplified();
        }
    }
    return host.wordFile;
}

QString generateForm(const std::map<QString, QString> &texts, const QString &folder)
{
    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes scope(boxes);
    wordproc::BuiltinApplicationFactory factory(QDir(folder).filePath(QStringLiteral("engine.lock")));
    testsupport::RecordingGenerationHost host;
    for (const auto &[id, text] : texts)
        host.widgets.text(id)->setText(text);
    generator::generateRentalApplication(factory, host, {folder, {}});
    return boxes.shown.empty() ? host.wordFile : QString();
}

std::vector<Word> wordsOf(const QString &pdf)
{
    std::vector<Word> words;
    const ProgramRun run = runProgram(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    QXmlStreamReader xml(run.output);
    int page = -1;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            const auto at = xml.attributes();
            const double x0 = at.value(QLatin1String("xMin")).toDouble();
            const double y0 = at.value(QLatin1String("yMin")).toDouble();
            const double x1 = at.value(QLatin1String("xMax")).toDouble();
            const double y1 = at.value(QLatin1String("yMax")).toDouble();
            words.push_back({page, QRectF(QPointF(x0, y0), QPointF(x1, y1)),
                             xml.readElementText().normalized(QString::NormalizationForm_KC)});
        }
    }
    return words;
}

QString flatTextOf(const QString &pdf)
{
    // The layout's fonts join "fi" and "fl" into ligatures, which the PDF maps to U+FB01 and
    // U+FB02; compatibility decomposition gives the letters back, as viewers' searches do.
    return runProgram(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")})
        .output.normalized(QString::NormalizationForm_KC)
        .simplified();
}

QStringList missingTexts(const QStringList &texts, const QString &flatText)
{
    QStringList missing;
    for (const QString &text : texts)
        if (!flatText.contains(text))
            missing << text;
    return missing;
}

std::vector<double> rowBoundaries(const QString &pdf, const QString &scratchFolder)
{
    constexpr int kDpi = 288;
    const QString base = QDir(scratchFolder).filePath(QStringLiteral("rules"));
    runProgram(QStringLiteral("pdftoppm"), {QStringLiteral("-gray"), QStringLiteral("-png"), QStringLiteral("-r"),
                                         QString::number(kDpi), QStringLiteral("-f"), QStringLiteral("1"),
                                         QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, base});
    const QImage page(base + QStringLiteral(".png"));
    QFile::remove(base + QStringLiteral(".png"));
    std::vector<double> boundaries;
    if (page.isNull())
        return boundaries;
    // A line across most of the table's width: its pixels are dark over 60 % of the page's
    // middle third (the grid's middle column, which every row crosses).
    const int x0 = page.width() / 3;
    const int x1 = 2 * page.width() / 3;
    const auto isLine = [&](int y) {
        int dark = 0;
        for (int x = x0; x < x1; ++x)
            dark += qGray(page.pixel(x, y)) < 128;
        return dark > (x1 - x0) * 6 / 10;
    };
    const double pointsPerPixel = 72.0 / kDpi;
    for (int y = 0; y < page.height();) {
        if (!isLine(y)) {
            ++y;
            continue;
        }
        const int top = y;
        while (y < page.height() && isLine(y))
            ++y;
        if (y - top <= 6) {
            boundaries.push_back((top + y) / 2.0 * pointsPerPixel);
        } else {
            boundaries.push_back(top * pointsPerPixel);
            boundaries.push_back(y * pointsPerPixel);
        }
    }
    return boundaries;
}

} // namespace printtest
