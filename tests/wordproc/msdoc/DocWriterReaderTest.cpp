// Writing a document as .doc and reading it back must give the same document.
#include "SampleFormDocument.h"
#include "base/Failure.h"
#include "wordproc/msdoc/DocReader.h"
#include "wordproc/msdoc/DocWriter.h"
#include "wordproc/editing/Editor.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace wordproc;
using sampleform::tahoma;
using sampleform::textParagraph;

namespace {

Document roundTrip(const Document &document)
{
    return decodeDoc(encodeDoc(document));
}

Table &firstTable(Document &document)
{
    return std::get<Table>(document.body.front());
}

} // namespace

TEST(DocRoundTrip, SampleFormComesBackIdentical)
{
    const Document form = sampleform::makeSampleFormDocument();
    const Document back = roundTrip(form);
    EXPECT_EQ(back, form);
    ASSERT_EQ(back.body.size(), 2u);
    EXPECT_EQ(std::get<Table>(back.body[0]).rows.size(), 43u);
}

TEST(DocRoundTrip, FileOnDiskComesBackIdentical)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("form.doc"));
    const Document form = sampleform::makeSampleFormDocument();
    writeDoc(form, path);
    EXPECT_EQ(readDoc(path), form);
    EXPECT_THROW(readDoc(dir.filePath(QStringLiteral("missing.doc"))), base::Failure);
    EXPECT_THROW(writeDoc(form, dir.filePath(QStringLiteral("no/such/folder/form.doc"))), base::Failure);
}

TEST(DocRoundTrip, AnyUnicodeTextSurvives)
{
    Document document;
    const QStringList texts{
        QStringLiteral("Crème brûlée, naïve façade, Ærø, Łódź, Ελληνικά"),
        QStringLiteral("中文字符 日本語のテキスト 한국어"),
        QStringLiteral("Emoji 😀👍🏽 and 𝄞 outside the BMP"),
        QStringLiteral("עברית ومرحبا بالعالم RTL"),
        QStringLiteral("Tab\tkept"),
        // Both sides of every edge between 8-bit and UTF-16 pieces.
        QString::fromUtf16(u"\u007e\u0080\u0081\u009f\u00a0\u00ff\u0100\u0152\u20ac\u2122\uffef"),
    };
    for (const QString &text : texts)
        document.body.insert(document.body.end() - 1, textParagraph(text, tahoma(10)));
    EXPECT_EQ(roundTrip(document), document);
}

TEST(DocRoundTrip, StructuralCharactersInHandBuiltRunsAreNeutralised)
{
    Document document;
    // Marks, breaks and field characters would split paragraphs or corrupt the table.
    const QString hostile = QStringLiteral("a\rb\nc") + QChar(0x07) + QStringLiteral("d") + QChar(0x13)
                            + QStringLiteral("e") + QChar(0x0C) + QChar(0xD800) + QStringLiteral("f");
    document.body = {textParagraph(hostile, tahoma(8)), Paragraph{}};
    const Document back = roundTrip(document);
    ASSERT_EQ(back.body.size(), 2u);
    EXPECT_EQ(std::get<Paragraph>(back.body[0]).text(), sanitizeUserText(hostile));
}

TEST(DocRoundTrip, CharacterAndCellFormatsSurvive)
{
    Document document = sampleform::makeSampleFormDocument();
    Table &table = firstTable(document);
    Paragraph &title = table.rows[0].cells[0].paragraphs[0];
    title.runs.push_back(wordproc::Run{QStringLiteral(" in Arial"), CharFormat{QStringLiteral("Arial"), 21, false, 0x123456}});
    title.runs.push_back(wordproc::Run{QStringLiteral(" in a font of its own"), CharFormat{QStringLiteral("Noto Sans CJK SC"), 3276, true, 0}});
    table.rows[1].cells[0].shading = Shading{-7, 255, 65280};
    table.rows[2].cells[0].shading = Shading{125, kAutoColour, 0xFFFFFF};
    table.rows[3].cells[1].verticalAlignment = VerticalAlignment::Bottom;
    table.rows[4].heightRule = HeightRule::Auto;
    table.rows[4].heightTwips = 0;
    table.cellMarginTwips = 108;
    table.style = QStringLiteral("My Grid");
    EXPECT_EQ(roundTrip(document), document);

    table.gridBorders = false;
    table.style.clear();
    EXPECT_EQ(roundTrip(document), document);
}

TEST(DocRoundTrip, WideRowsAndSeveralTablesSurvive)
{
    Document document;
    Table wide;
    Row row = sampleform::makeRow({}, HeightRule::AtLeast, 300);
    for (int i = 0; i < 63; ++i) {
        Cell cell = sampleform::textCell(160, QString::number(i));
        cell.shading.background = i * 1000;
        row.cells.push_back(cell);
    }
    wide.rows = {row, row};
    Table narrow;
    narrow.rows = {sampleform::wholeRow(QStringLiteral("second table"))};
    document.body = {textParagraph(QStringLiteral("before"), tahoma(8)), wide, Paragraph{}, narrow, Paragraph{}};
    EXPECT_EQ(roundTrip(document), document);
}

TEST(DocRoundTrip, PageSetupSurvives)
{
    Document document;
    PageSetup &page = document.page;
    page = PageSetup{};
    page.pageWidth = 15840;
    page.pageHeight = 12240;
    page.landscape = true;
    page.gutter = 360;
    page.topMargin = 1000; // every margin its own value, so that none can stand in for another
    page.bottomMargin = 1300;
    page.leftMargin = 1700;
    page.rightMargin = 1100;
    page.headerDistance = 500;
    page.footerDistance = 900;
    page.gutterPos = 1;
    page.lineNumbering = true;
    page.firstPageTray = 7;
    page.otherPagesTray = 15;
    page.sectionStart = 0;
    page.oddAndEvenPagesHeaderFooter = true;
    page.differentFirstPageHeaderFooter = true;
    page.verticalAlignment = 1;
    page.suppressEndnotes = true;
    page.mirrorMargins = true;
    EXPECT_EQ(roundTrip(document), document);
    page.gutterPos = 2;
    page.mirrorMargins = false;
    EXPECT_EQ(roundTrip(document), document);
}

TEST(DocRoundTrip, ModelsWordCannotHoldAreRefused)
{
    int line = 0;
    const auto refused = [&line](const std::function<void(Document &)> &spoil) {
        Document document = sampleform::makeSampleFormDocument();
        spoil(document);
        ++line;
        EXPECT_THROW(encodeDoc(document), base::Failure) << "case " << line;
    };
    refused([](Document &d) { firstTable(d).rows[0].cells.clear(); });
    refused([](Document &d) { firstTable(d).rows[0].cells.resize(64, sampleform::textCell(100, {})); });
    refused([](Document &d) { firstTable(d).rows[0].cells[0].widthTwips = -1; });
    refused([](Document &d) { firstTable(d).rows[0].cells[0].shading.texture = 33; });
    refused([](Document &d) { firstTable(d).rows[0].cells[0].paragraphs[0].runs[0].format.colour = 0x1000000; });
    refused([](Document &d) { firstTable(d).rows[0].cells[0].paragraphs[0].runs[0].format.halfPoints = 0; });
    refused([](Document &d) { firstTable(d).rows[0].cells[0].paragraphs[0].runs[0].format.fontName.clear(); });
    refused([](Document &d) { d.page.leftMargin = 11200; });
    refused([](Document &d) { d.page.twoPagesOnOne = true; });
}

TEST(DocRoundTrip, RowHeightsAndTablesTheEditorMakesAreWhatTheFileKeeps)
{
    Editor editor;
    editor.insertTable(editor.selectionEnd(), 3, 2);
    editor.setRowsHeightRule(HeightRule::AtLeast); // row 1: at least nothing is automatic
    editor.moveDown(1);
    editor.setRowsHeight(300); // row 2: a height on an automatic row makes it "at least"
    editor.setRowsHeightRule(HeightRule::Auto); // ... and automatic again leaves it without one
    editor.moveDown(1);
    editor.setRowsHeightRule(HeightRule::Exactly);
    editor.setRowsHeight(400);
    const Table &rows = std::get<Table>(editor.document().body.front());
    EXPECT_EQ(rows.rows[0].effectiveHeightRule(), HeightRule::Auto);
    EXPECT_EQ(rows.rows[1].effectiveHeightRule(), HeightRule::Auto);
    EXPECT_EQ(rows.rows[1].effectiveHeightTwips(), 0);
    EXPECT_EQ(rows.rows[2].effectiveHeightRule(), HeightRule::Exactly);
    EXPECT_EQ(rows.rows[2].effectiveHeightTwips(), 400);

    // Straight below the table: a second table, separated from the first by an empty paragraph.
    editor.moveDown(1);
    editor.insertTable(editor.selectionEnd(), 1, 1);
    ASSERT_EQ(editor.document().body.size(), 4u);
    EXPECT_TRUE(std::holds_alternative<Paragraph>(editor.document().body[1]));

    const Document back = roundTrip(editor.document());
    EXPECT_EQ(back, editor.document());
    const Table &read = std::get<Table>(back.body.front());
    EXPECT_EQ(read.rows[0].heightRule, HeightRule::Auto);
    EXPECT_EQ(read.rows[1].heightTwips, 0);
    EXPECT_EQ(read.rows[2].heightRule, HeightRule::Exactly);
}
