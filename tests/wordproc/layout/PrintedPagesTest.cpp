#include "wordproc/layout/PrintedPages.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace wordproc;

namespace {

// A table block of rows with the given heights, starting at `top`, with 10-twip grid lines.
BlockBox tableBlock(int top, const std::vector<int> &heights)
{
    TableBox table;
    table.border = 10;
    for (int height : heights) {
        table.rows.push_back(RowBox{table.height, height, {}});
        table.height += height;
    }
    table.height += table.border;
    return BlockBox{top, std::move(table)};
}

BlockBox paragraphBlock(int top, int lines, int lineHeight)
{
    ParagraphBox paragraph;
    for (int i = 0; i < lines; ++i) {
        LineBox line;
        line.top = i * lineHeight;
        line.height = lineHeight;
        paragraph.lines.push_back(line);
    }
    paragraph.height = lines * lineHeight;
    return BlockBox{top, std::move(paragraph)};
}

int heightOf(const BlockBox &block)
{
    if (const auto *table = std::get_if<TableBox>(&block.box))
        return table->height;
    return std::get<ParagraphBox>(block.box).height;
}

ContentBox contentOf(std::vector<BlockBox> blocks)
{
    ContentBox content;
    content.blocks = std::move(blocks);
    for (const BlockBox &block : content.blocks)
        content.height = std::max(content.height, block.top + heightOf(block));
    return content;
}

void expectBands(const std::vector<PageBand> &bands, const std::vector<PageBand> &expected)
{
    ASSERT_EQ(bands.size(), expected.size());
    for (std::size_t i = 0; i < bands.size(); ++i) {
        EXPECT_EQ(bands[i].top, expected[i].top) << "page " << i + 1;
        EXPECT_EQ(bands[i].bottom, expected[i].bottom) << "page " << i + 1;
        EXPECT_EQ(bands[i].rule, expected[i].rule) << "page " << i + 1;
    }
}

} // namespace

TEST(Paginate, TablesBreakBetweenRowsWithTheGridLineOnBothPages)
{
    // Rows at 0, 400, 800, 1200; the page's text area is 1000 high.
    const ContentBox content = contentOf({tableBlock(0, {400, 400, 400, 400})});
    expectBands(paginate(content, 1000), {{0, 800, 10}, {800, 1610, 0}});

    // A row fits only with its bottom grid line: 990 + 10 is exactly the page.
    expectBands(paginate(contentOf({tableBlock(0, {500, 490})}), 1000), {{0, 1000, 0}});
    expectBands(paginate(contentOf({tableBlock(0, {500, 491})}), 1000), {{0, 500, 10}, {500, 1001, 0}});
}

TEST(Paginate, ARowTallerThanAPageTakesAPageOfItsOwn)
{
    const ContentBox content = contentOf({tableBlock(0, {200, 2500, 200})});
    expectBands(paginate(content, 1000), {{0, 200, 10}, {200, 2700, 10}, {2700, 2910, 0}});
}

TEST(Paginate, ParagraphsBreakBetweenLinesAndFollowingTablesContinue)
{
    const ContentBox content = contentOf({paragraphBlock(0, 5, 300), tableBlock(1500, {300, 300})});
    // Lines end at 300 ... 1500; three fit on a page of 1000. The table's rows follow.
    expectBands(paginate(content, 1000), {{0, 900, 0}, {900, 1800, 10}, {1800, 2110, 0}});
}

TEST(Paginate, ARowTallerThanAPageSplitsBetweenItsLinesUnlessItsHeightIsExact)
{
    // Rows of 200, 3010 (ten lines of 300 in one cell) and 200, on pages of 1000.
    BlockBox block = tableBlock(0, {200, 3010, 200});
    RowBox &tall = std::get<TableBox>(block.box).rows[1];
    CellBox cell;
    for (int i = 0; i < 10; ++i) {
        LineBox line;
        line.top = tall.top + 10 + i * 300;
        line.height = 300;
        line.textStart = i;
        cell.lines.push_back(line);
    }
    tall.cells.push_back(cell);

    const ContentBox printed = splitTallRows(contentOf({block}), 1000);
    const auto &rows = std::get<TableBox>(printed.blocks[0].box).rows;
    // Each piece reaches its page's foot with its grid line; the lines a piece could not hold
    // start the next one, so none is cut and none is lost.
    ASSERT_EQ(rows.size(), 6u);
    std::vector<int> lines;
    for (std::size_t r = 1; r < 5; ++r)
        for (const LineBox &line : rows[r].cells.at(0).lines) {
            lines.push_back(line.textStart);
            EXPECT_GE(line.top, rows[r].top + 10);
            EXPECT_LE(line.top + line.height, rows[r].top + rows[r].height);
        }
    EXPECT_EQ(lines, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    expectBands(paginate(printed, 1000), {{0, 990, 10}, {990, 1980, 10}, {1980, 2970, 10}, {2970, 3790, 0}});

    // Of exact height the row clips its content, on screen and on paper alike: it stays whole.
    tall.mayBreak = false;
    EXPECT_EQ(std::get<TableBox>(splitTallRows(contentOf({block}), 1000).blocks[0].box).rows.size(), 3u);
}

TEST(Paginate, EmptyContentIsOnePage)
{
    expectBands(paginate(ContentBox{}, 1000), {{0, 0, 0}});
}

TEST(PrintedPages, ALongDocumentDrawsOnePdfPagePerBand)
{
    Document document;
    Table table;
    for (int r = 0; r < 120; ++r) {
        Row row;
        row.heightRule = HeightRule::Exactly;
        row.heightTwips = 400;
        Cell cell;
        cell.widthTwips = 5000;
        cell.paragraphs.front().runs.push_back(wordproc::Run{QStringLiteral("row %1").arg(r + 1), CharFormat{}});
        row.cells.push_back(cell);
        table.rows.push_back(row);
    }
    document.body = {table, Paragraph{}};
    const QByteArray pdf = pdfOf(document, QStringLiteral("Rental Application"));
    // 12,960 twips of text height hold 32 rows of 400 (the last with its grid line): 4 pages.
    const QString text = QString::fromLatin1(pdf);
    EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))), 4);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.contains("Rental Application"));
}

// What a fillable form lays over the pages: each cell once, on the page of its first piece,
// within that page's text area; the label's end after its start on the first line.
TEST(PrintedPages, CellsArePlacedOnThePageOfTheirFirstPiece)
{
    Document document;
    Table table;
    Row tall;
    Cell tallCell;
    tallCell.widthTwips = 5000;
    tallCell.paragraphs.clear();
    for (int i = 0; i < 120; ++i) // far more lines than a page holds: the row splits
        tallCell.paragraphs.push_back(Paragraph{{wordproc::Run{QStringLiteral("Name: line %1").arg(i), CharFormat{}}}, CharFormat{}});
    tall.cells = {tallCell};
    Row after;
    Cell afterCell;
    afterCell.widthTwips = 5000;
    afterCell.paragraphs.front().runs.push_back(wordproc::Run{QStringLiteral("City: "), CharFormat{}});
    after.cells = {afterCell, afterCell};
    table.rows = {tall, after};
    document.body = {table, Paragraph{}};

    const std::vector<PrintedCell> cells = printedCells(document);
    ASSERT_EQ(cells.size(), 3u);
    const PageSetup &page = document.page;
    const PrintedCell &first = cells[0];
    EXPECT_EQ(first.row, 0);
    EXPECT_EQ(first.page, 0);
    EXPECT_GE(first.area.top(), page.topMargin);
    EXPECT_LE(first.area.bottom(), page.pageHeight - page.bottomMargin + 20);
    EXPECT_GT(cells[1].page, 0) << "the row after the split row is on a later page";
    EXPECT_EQ(cells[1].page, cells[2].page);
    EXPECT_GE(cells[1].area.top(), page.topMargin);
    EXPECT_LT(cells[1].area.right(), cells[2].area.left() + 1);
    ASSERT_TRUE(cells[1].firstLine.text);
    EXPECT_NEAR(caretX(cells[1].firstLine, 0), cells[1].firstLine.left, 1);
    EXPECT_GT(caretX(cells[1].firstLine, 5), caretX(cells[1].firstLine, 0) + 100);
    EXPECT_LT(caretX(cells[1].firstLine, 5), cells[1].area.right());
}
