// Other programs must read the .doc files we write: LibreOffice (layout, formatting, table
// structure), antiword and catdoc (text), olefile (container and summary properties). Each check is skipped when its program is missing.
#include "SampleFormDocument.h"
#include "wordproc/msdoc/CfbContainer.h"
#include "wordproc/msdoc/DocPieceTable.h"
#include "wordproc/msdoc/DocReader.h"
#include "wordproc/msdoc/DocWriter.h"
#include "ProgramRun.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace wordproc;

// Readable failure messages for QString values.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

namespace {

constexpr int kToolTimeoutMs = 240000;

testsupport::ProgramRun runTool(const QString &program, const QStringList &arguments)
{
    return testsupport::runProgram(program, arguments, kToolTimeoutMs);
}

// The parts of a flat OpenDocument text file the checks look at.
struct FlatOdt {
    struct Paragraph {
        QString style;
        QString text;
        QStringList spanStyles;
    };
    struct Cell {
        int span = 1;
        QString style;
        std::vector<Paragraph> paragraphs;
    };
    struct Row {
        QString style;
        std::vector<Cell> cells;
    };
    QHash<QString, QString> pageLayout;
    QHash<QString, QHash<QString, QString>> styles; // properties by style name, "parent" included
    int tableCount = 0;
    std::vector<Row> rows; // of the first table
    int paragraphsAfterTable = 0;

    QString property(const QString &style, const QString &name) const
    {
        QString current = style;
        for (int depth = 0; depth < 10 && styles.contains(current); ++depth) {
            const QHash<QString, QString> &properties = styles[current];
            if (properties.contains(name))
                return properties[name];
            current = properties.value(QStringLiteral("parent"));
        }
        return {};
    }

    // A paragraph's text property: its first span's, else the paragraph style's.
    QString textProperty(const Paragraph &paragraph, const QString &name) const
    {
        for (const QString &span : paragraph.spanStyles)
            if (const QString value = property(span, name); !value.isEmpty())
                return value;
        return property(paragraph.style, name);
    }
};

FlatOdt readFlatOdt(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    FlatOdt odt;
    QXmlStreamReader xml(&file);
    QString style;
    bool inFirstTable = false, tableDone = false;
    while (!xml.atEnd()) {
        xml.readNext();
        const QString name = xml.qualifiedName().toString();
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.isEndElement()) {
            if (name == QLatin1String("table:table") && inFirstTable) {
                inFirstTable = false;
                tableDone = true;
            }
            continue;
        }
        if (!xml.isStartElement())
            continue;
        if (name == QLatin1String("style:style")) {
            style = attributes.value(QLatin1String("style:name")).toString();
            odt.styles[style][QStringLiteral("parent")] = attributes.value(QLatin1String("style:parent-style-name")).toString();
        } else if (name.endsWith(QLatin1String("-properties")) && name.startsWith(QLatin1String("style:"))) {
            for (const QXmlStreamAttribute &attribute : attributes) {
                if (name == QLatin1String("style:page-layout-properties"))
                    odt.pageLayout.insert(attribute.qualifiedName().toString(), attribute.value().toString());
                else if (!style.isEmpty())
                    odt.styles[style].insert(attribute.qualifiedName().toString(), attribute.value().toString());
            }
        } else if (name == QLatin1String("table:table")) {
            ++odt.tableCount;
            inFirstTable = odt.tableCount == 1;
        } else if (inFirstTable && name == QLatin1String("table:table-row")) {
            odt.rows.push_back({attributes.value(QLatin1String("table:style-name")).toString(), {}});
        } else if (inFirstTable && name == QLatin1String("table:table-cell")) {
            FlatOdt::Cell cell;
            cell.style = attributes.value(QLatin1String("table:style-name")).toString();
            const auto span = attributes.value(QLatin1String("table:number-columns-spanned"));
            cell.span = span.isEmpty() ? 1 : span.toInt();
            odt.rows.back().cells.push_back(cell);
        } else if (name == QLatin1String("text:p") && inFirstTable) {
            FlatOdt::Paragraph paragraph{attributes.value(QLatin1String("text:style-name")).toString(), {}, {}};
            // Collect the paragraph's text and the styles of its spans.
            int depth = 1;
            while (depth > 0 && !xml.atEnd()) {
                xml.readNext();
                if (xml.isStartElement()) {
                    ++depth;
                    if (xml.qualifiedName() == QLatin1String("text:span"))
                        paragraph.spanStyles << xml.attributes().value(QLatin1String("text:style-name")).toString();
                    if (xml.qualifiedName() == QLatin1String("text:s"))
                        paragraph.text += QLatin1Char(' ');
                } else if (xml.isEndElement()) {
                    --depth;
                } else if (xml.isCharacters()) {
                    paragraph.text += xml.text();
                }
            }
            odt.rows.back().cells.back().paragraphs.push_back(paragraph);
        } else if (name == QLatin1String("text:p") && tableDone) {
            ++odt.paragraphsAfterTable;
        }
    }
    return odt;
}

std::vector<int> spansOf(const FlatOdt::Row &row)
{
    std::vector<int> spans;
    for (const FlatOdt::Cell &cell : row.cells)
        spans.push_back(cell.span);
    return spans;
}

class DocInterop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_form = m_dir.filePath(QStringLiteral("form.doc"));
        writeDoc(sampleform::makeSampleFormDocument(), m_form);
    }

    static QString toolOrSkip(const char *name)
    {
        return QStandardPaths::findExecutable(QString::fromLatin1(name));
    }

    // soffice exits 0 even when it cannot load a file: success is the output file existing.
    QString convert(const QString &soffice, const QString &input, const QString &format)
    {
        const QString profile = QStringLiteral("file://") + m_dir.filePath(QStringLiteral("lo-profile"));
        const testsupport::ProgramRun result =
            runTool(soffice, {QStringLiteral("--headless"), QStringLiteral("-env:UserInstallation=") + profile,
                              QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), m_dir.path(), input});
        EXPECT_TRUE(result.finished) << "soffice did not finish";
        QString output = input;
        output.replace(QRegularExpression(QStringLiteral("\\.doc$")), QLatin1Char('.') + format);
        return QFile::exists(output) ? output : QString();
    }

    QTemporaryDir m_dir;
    QString m_form;
};

} // namespace

TEST_F(DocInterop, LibreOfficeReadsTheFormWithItsLayoutAndFormatting)
{
    const QString soffice = toolOrSkip("soffice");
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed; the LibreOffice interop check is skipped.";
    const QString fodt = convert(soffice, m_form, QStringLiteral("fodt"));
    ASSERT_FALSE(fodt.isEmpty()) << "LibreOffice could not convert the .doc file";
    const FlatOdt odt = readFlatOdt(fodt);

    EXPECT_EQ(odt.pageLayout.value(QStringLiteral("fo:page-width")), QStringLiteral("8.5in"));
    EXPECT_EQ(odt.pageLayout.value(QStringLiteral("fo:page-height")), QStringLiteral("11in"));
    EXPECT_EQ(odt.pageLayout.value(QStringLiteral("fo:margin-top")), QStringLiteral("0.6in"));
    EXPECT_EQ(odt.pageLayout.value(QStringLiteral("fo:margin-bottom")), QStringLiteral("0.6in"));
    EXPECT_EQ(odt.pageLayout.value(QStringLiteral("fo:margin-left")), QStringLiteral("0.75in"));
    EXPECT_EQ(odt.pageLayout.value(QStringLiteral("fo:margin-right")), QStringLiteral("0.75in"));
    EXPECT_EQ(odt.pageLayout.value(QStringLiteral("style:print-orientation")), QStringLiteral("portrait"));

    EXPECT_EQ(odt.tableCount, 1);
    ASSERT_EQ(odt.rows.size(), 43u);
    EXPECT_EQ(odt.paragraphsAfterTable, 1);
    EXPECT_EQ(spansOf(odt.rows[0]), (std::vector<int>{3}));
    EXPECT_EQ(spansOf(odt.rows[3]), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(spansOf(odt.rows[12]), (std::vector<int>{2, 1}));
    EXPECT_EQ(spansOf(odt.rows[20]), (std::vector<int>{1, 2}));
    EXPECT_EQ(spansOf(odt.rows[41]), (std::vector<int>{2, 1}));

    const FlatOdt::Cell &title = odt.rows[0].cells[0];
    EXPECT_EQ(odt.property(title.style, QStringLiteral("fo:background-color")), QStringLiteral("#f0ebdc"));
    EXPECT_EQ(odt.property(title.style, QStringLiteral("style:vertical-align")), QStringLiteral("middle"));
    EXPECT_EQ(odt.property(title.style, QStringLiteral("fo:border")), QStringLiteral("0.5pt solid #000000"));
    ASSERT_EQ(title.paragraphs.size(), 1u);
    const FlatOdt::Paragraph &titleText = title.paragraphs[0];
    EXPECT_EQ(titleText.text, QStringLiteral("Rental Application"));
    EXPECT_EQ(odt.property(titleText.style, QStringLiteral("fo:text-align")), QStringLiteral("center"));
    EXPECT_EQ(odt.textProperty(titleText, QStringLiteral("style:font-name")), QStringLiteral("Tahoma"));
    EXPECT_EQ(odt.textProperty(titleText, QStringLiteral("fo:font-size")), QStringLiteral("16pt"));
    EXPECT_EQ(odt.textProperty(titleText, QStringLiteral("fo:font-weight")), QStringLiteral("bold"));
    EXPECT_EQ(odt.textProperty(titleText, QStringLiteral("fo:color")), QStringLiteral("#990000"));
    EXPECT_EQ(odt.property(odt.rows[0].style, QStringLiteral("style:min-row-height")), QStringLiteral("0.3701in"));

    const FlatOdt::Cell &heading = odt.rows[1].cells[0];
    EXPECT_EQ(odt.property(heading.style, QStringLiteral("fo:background-color")), QStringLiteral("#000000"));
    EXPECT_EQ(odt.textProperty(heading.paragraphs[0], QStringLiteral("fo:font-size")), QStringLiteral("9pt"));
    EXPECT_EQ(odt.textProperty(heading.paragraphs[0], QStringLiteral("fo:font-weight")), QStringLiteral("bold"));
    EXPECT_EQ(odt.textProperty(heading.paragraphs[0], QStringLiteral("fo:color")), QStringLiteral("#ffffff"));
    EXPECT_NE(odt.property(heading.paragraphs[0].style, QStringLiteral("fo:text-align")), QStringLiteral("center"));

    const FlatOdt::Paragraph &field = odt.rows[2].cells[0].paragraphs[0];
    EXPECT_EQ(field.text, QStringLiteral("Name: José Müller-Smith"));
    EXPECT_EQ(odt.textProperty(field, QStringLiteral("style:font-name")), QStringLiteral("Tahoma"));
    EXPECT_EQ(odt.textProperty(field, QStringLiteral("fo:font-size")), QStringLiteral("8pt"));
    EXPECT_EQ(odt.property(odt.rows[2].style, QStringLiteral("style:min-row-height")), QStringLiteral("0.2in"));
    EXPECT_EQ(odt.property(odt.rows[12].cells[1].style, QStringLiteral("style:vertical-align")), QStringLiteral("top"));

    // Fixed-height rows, and signature cells whose label stands on the second line.
    EXPECT_EQ(odt.property(odt.rows[40].style, QStringLiteral("style:row-height")), QStringLiteral("0.35in"));
    EXPECT_EQ(odt.property(odt.rows[40].style, QStringLiteral("style:min-row-height")), QString());
    const FlatOdt::Cell &date = odt.rows[42].cells[1];
    ASSERT_EQ(date.paragraphs.size(), 2u);
    EXPECT_EQ(date.paragraphs[0].text, QString());
    EXPECT_EQ(date.paragraphs[1].text, QStringLiteral("Date:"));
}

TEST_F(DocInterop, LibreOfficeLaysTheFormOutOnOnePage)
{
    const QString soffice = toolOrSkip("soffice");
    const QString pdfinfo = toolOrSkip("pdfinfo");
    if (soffice.isEmpty() || pdfinfo.isEmpty())
        GTEST_SKIP() << "soffice or pdfinfo is not installed; the page layout check is skipped.";
    const QString pdf = convert(soffice, m_form, QStringLiteral("pdf"));
    ASSERT_FALSE(pdf.isEmpty()) << "LibreOffice could not convert the .doc file to PDF";
    const testsupport::ProgramRun info = runTool(pdfinfo, {pdf});
    ASSERT_EQ(info.exitCode, 0);
    EXPECT_TRUE(info.output.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.output.toStdString();
    EXPECT_TRUE(info.output.contains(QStringLiteral("612 x 792 pts"))) << info.output.toStdString();
}

TEST_F(DocInterop, LibreOfficeKeepsUnicodeText)
{
    const QString soffice = toolOrSkip("soffice");
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed; the LibreOffice interop check is skipped.";
    Document document = sampleform::makeSampleFormDocument();
    const QString unicode = QStringLiteral("Ærø 中文 日本語 😀👍🏽 עברית مرحبا");
    std::get<Table>(document.body[0]).rows[2].cells[0].paragraphs[0].runs[0].text = unicode;
    const QString path = m_dir.filePath(QStringLiteral("unicode.doc"));
    writeDoc(document, path);
    const QString fodt = convert(soffice, path, QStringLiteral("fodt"));
    ASSERT_FALSE(fodt.isEmpty());
    const FlatOdt odt = readFlatOdt(fodt);
    ASSERT_EQ(odt.rows.size(), 43u);
    EXPECT_EQ(odt.rows[2].cells[0].paragraphs[0].text, unicode);
    EXPECT_EQ(odt.rows[3].cells[2].paragraphs[0].text, QStringLiteral("Phone: 555-0100"));
}

TEST_F(DocInterop, AntiwordAndCatdocExtractTheTexts)
{
    const QStringList expected{QStringLiteral("Rental Application"), QStringLiteral("Applicant Information"),
                               QStringLiteral("José Müller-Smith"), QStringLiteral("Relationship: Sister"),
                               QStringLiteral("Signature of co-applicant:"), QStringLiteral("Date:")};
    bool ranAny = false;
    if (const QString antiword = toolOrSkip("antiword"); !antiword.isEmpty()) {
        ranAny = true;
        const testsupport::ProgramRun result = runTool(antiword, {QStringLiteral("-m"), QStringLiteral("UTF-8.txt"), m_form});
        EXPECT_EQ(result.exitCode, 0);
        for (const QString &text : expected)
            EXPECT_TRUE(result.output.contains(text)) << "antiword lost: " << text.toStdString();
        EXPECT_EQ(result.output.count(QLatin1Char('|')) > 0, true) << "antiword saw no table";
        // A document with a single short line is read too.
        Document note;
        note.body = {sampleform::textParagraph(QStringLiteral("Short note"), sampleform::tahoma(8)), Paragraph{}};
        const QString notePath = m_dir.filePath(QStringLiteral("note.doc"));
        writeDoc(note, notePath);
        const testsupport::ProgramRun noteResult = runTool(antiword, {notePath});
        EXPECT_EQ(noteResult.exitCode, 0);
        EXPECT_TRUE(noteResult.output.contains(QStringLiteral("Short note")));
    }
    if (const QString catdoc = toolOrSkip("catdoc"); !catdoc.isEmpty()) {
        ranAny = true;
        const testsupport::ProgramRun result = runTool(catdoc, {QStringLiteral("-d"), QStringLiteral("utf-8"), m_form});
        EXPECT_EQ(result.exitCode, 0);
        for (const QString &text : expected)
            EXPECT_TRUE(result.output.contains(text)) << "catdoc lost: " << text.toStdString();
        EXPECT_TRUE(result.output.contains(QStringLiteral("I authorize the verification of the information")));
    }
    if (!ranAny)
        GTEST_SKIP() << "Neither antiword nor catdoc is installed; the text extraction check is skipped.";
}

TEST_F(DocInterop, MixedScriptTextIsStoredAsEightBitAndUnicodePiecesThatEveryReaderFollows)
{
    const QString latin = QStringLiteral("Crème brûlée at the café, “quoted” words — an ellipsis… Œuvre™. ").repeated(12);
    const QString mixed = QStringLiteral("a中b文c字").repeated(100); // script changes every character
    Document document;
    for (const QString &text : {latin, QStringLiteral("Deposit € 1 200, Žofie"), QStringLiteral("中文字符 日本語のテキスト 한국어"),
                                QStringLiteral("Emoji 😀👍🏽 here"), mixed, latin})
        document.body.insert(document.body.end() - 1, sampleform::textParagraph(text, sampleform::tahoma(10)));
    const QByteArray file = encodeDoc(document);
    EXPECT_EQ(decodeDoc(file), document);

    auto streams = doc::unpackCompoundFile(file, {QStringLiteral("WordDocument"), QStringLiteral("1Table")});
    const doc::ByteReader word(streams[QStringLiteral("WordDocument")], QStringLiteral("WordDocument"));
    const doc::ByteReader table(streams[QStringLiteral("1Table")], QStringLiteral("1Table"));
    const auto pieces = doc::PieceTable::decode(table, {word.u32(0x9A + 8 * 33), word.u32(0x9A + 8 * 33 + 4)}).pieces();
    const auto compressed = std::count_if(pieces.begin(), pieces.end(), [](const auto &piece) { return piece.compressed; });
    EXPECT_GE(compressed, 2);
    EXPECT_GE(pieces.size() - compressed, 1u);
    EXPECT_LE(pieces.size(), 5u) << "the alternating scripts must not cost a piece per character";
    for (size_t i = 0; i + 1 < pieces.size(); ++i) // antiword reads every piece but the last in whole blocks
        EXPECT_EQ(pieces[i].byteLength() % 512, 0) << "piece " << i;

    const QString path = m_dir.filePath(QStringLiteral("mixed.doc"));
    writeDoc(document, path);
    const QStringList expected{QStringLiteral("Crème brûlée at the café, “quoted” words — an ellipsis… Œuvre™."),
                               QStringLiteral("Deposit € 1 200, Žofie"), QStringLiteral("Emoji")};
    const QList<std::pair<const char *, QStringList>> tools{
        {"antiword", {QStringLiteral("-m"), QStringLiteral("UTF-8.txt"), path}},
        {"catdoc", {QStringLiteral("-d"), QStringLiteral("utf-8"), path}}};
    for (const auto &[name, arguments] : tools) {
        const QString tool = toolOrSkip(name);
        if (tool.isEmpty())
            continue;
        const testsupport::ProgramRun result = runTool(tool, arguments);
        EXPECT_EQ(result.exitCode, 0) << name;
        const QString output = result.output.simplified(); // both wrap long lines
        for (const QString &text : expected)
            EXPECT_TRUE(output.contains(text)) << name << " lost: " << text.toStdString();
    }
}

// olefile parses the container strictly and reads the summary properties that file managers show.
TEST_F(DocInterop, OlefileReadsTheContainerAndTheSummaryProperties)
{
    QString python = QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3") : toolOrSkip("python3");
    if (python.isEmpty() || runTool(python, {QStringLiteral("-c"), QStringLiteral("import olefile")}).exitCode != 0)
        GTEST_SKIP() << "python3 with olefile is not installed; the olefile check is skipped.";
    const char *script = R"(
import sys, olefile
ole = olefile.OleFileIO(sys.argv[1], raise_defects=olefile.DEFECT_INCORRECT)
print(sorted('/'.join(entry) for entry in ole.listdir()))
meta = ole.get_metadata()
print(meta.title.decode())
print(meta.creating_application.decode())
print(meta.create_time.year, meta.codepage, meta.num_pages)
compobj = ole.openstream('\x01CompObj').read()
def ansi(at):
    length = int.from_bytes(compobj[at:at + 4], 'little')
    return compobj[at + 4:at + 4 + length].rstrip(b'\0').decode(), at + 4 + length
user, at = ansi(28)  # after the header: reserved, version, and the class
clipboard, at = ansi(at)
progid, at = ansi(at)
print(user, clipboard, progid, compobj[at:at + 4].hex())
)";
    const testsupport::ProgramRun result = runTool(python, {QStringLiteral("-c"), QString::fromLatin1(script), m_form});
    ASSERT_EQ(result.exitCode, 0) << result.output.toStdString();
    const QStringList lines = result.output.split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral("['\\x01CompObj', '\\x05DocumentSummaryInformation', '\\x05SummaryInformation', "
                                       "'1Table', 'WordDocument']"));
    EXPECT_EQ(lines[1], QStringLiteral("Rental Application"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Tenvoria "))) << lines[2].toStdString();
    EXPECT_GT(lines[2].size(), int(sizeof("Tenvoria ")));
    EXPECT_EQ(lines[3], QStringLiteral("%1 1252 1").arg(QDateTime::currentDateTimeUtc().date().year()));
    // Word names the document's type from this stream (an embedded or linked document's "Object type").
    EXPECT_EQ(lines[4], QStringLiteral("Microsoft Word 97-2003 Document MSWordDoc Word.Document.8 f439b271"));
}
