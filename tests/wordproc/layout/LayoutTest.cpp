#include "wordproc/layout/Fonts.h"
#include "wordproc/layout/Layout.h"

#include "PageRendererSampleForm.h"

#include <gtest/gtest.h>

using namespace wordproc;
using sampleform::cell;
using sampleform::kColumn;
using sampleform::kTableWidth;
using sampleform::row;
using sampleform::tahoma;

namespace {

constexpr int kBorder = 10;
constexpr int kMargin = 115;

Table tableOf(std::vector<Row> rows)
{
    Table table;
    table.rows = std::move(rows);
    return table;
}

QString words(int characters)
{
    QString text;
    for (int i = 0; text.size() < characters; ++i)
        text += QStringLiteral("word%1 ").arg(i);
    return text.left(characters);
}

int lineHeight(int points, bool bold = false)
{
    return fonts::lineMetrics(tahoma(points, bold)).height();
}

TEST(Layout, TahomaLinesAreAsTallAsWordMakesThem)
{
    if (fonts::resolvedFamily(QStringLiteral("Tahoma")) != QStringLiteral("Tahoma"))
        GTEST_SKIP() << "Tahoma is not installed";
    // Windows ascent 2049 and descent 423 of 2048 units, no external leading.
    EXPECT_EQ(lineHeight(8), 160 + 33);
    EXPECT_EQ(fonts::lineMetrics(tahoma(8)).baseline(), 160);
    EXPECT_EQ(lineHeight(9, true), 180 + 37);
    EXPECT_EQ(lineHeight(16, true), 320 + 66);
}

TEST(Layout, RowHeightsFollowTheirRule)
{
    Row exactly = row(HeightRule::Exactly, 504, {cell(kTableWidth, QStringLiteral("one"))});
    for (int i = 0; i < 5; ++i)
        exactly.cells[0].paragraphs.push_back(exactly.cells[0].paragraphs[0]);
    Row exactZero = row(HeightRule::Exactly, 0, {cell(kTableWidth, QStringLiteral("auto"))});
    const TableBox box = layoutTable(tableOf({
        row(HeightRule::AtLeast, 288, {cell(kColumn, QStringLiteral("Name: Dorian Pellwick Jr."))}),
        row(HeightRule::AtLeast, 288, {cell(kColumn, words(10000))}),
        row(HeightRule::Auto, 0, {cell(kColumn, QStringLiteral("x"))}),
        exactly,
        exactZero,
    }));
    ASSERT_EQ(box.rows.size(), 5u);
    EXPECT_EQ(box.rows[0].height, 288);
    const CellBox &longText = box.rows[1].cells[0];
    EXPECT_GT(longText.lines.size(), 200u);
    EXPECT_EQ(longText.contentHeight, int(longText.lines.size()) * lineHeight(8));
    EXPECT_EQ(box.rows[1].height, longText.contentHeight + kBorder);
    EXPECT_EQ(box.rows[2].height, lineHeight(8) + kBorder);
    EXPECT_EQ(box.rows[3].height, 504);
    EXPECT_GT(box.rows[3].cells[0].contentHeight, 504);
    EXPECT_EQ(box.rows[4].height, lineHeight(8) + kBorder);
    int top = 0;
    for (const RowBox &row : box.rows) {
        EXPECT_EQ(row.top, top);
        top += row.height;
    }
    EXPECT_EQ(box.height, top + kBorder); // the last row's bottom border hangs below
}

TEST(Layout, MergedCellsSitSideBySideAndWrapOnTheirInnerWidth)
{
    const QString text = words(600);
    const TableBox box = layoutTable(tableOf({
        row(HeightRule::AtLeast, 288, {cell(2 * kColumn, text), cell(kColumn, text)}),
        row(HeightRule::AtLeast, 288, {cell(kColumn, text), cell(2 * kColumn, text)}),
    }));
    EXPECT_EQ(box.width, kTableWidth);
    const std::vector<std::pair<int, int>> edges[] = {{{0, 6720}, {6720, 3360}}, {{0, 3360}, {3360, 6720}}};
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c) {
            const CellBox &cell = box.rows[r].cells[c];
            EXPECT_EQ(cell.left, edges[r][c].first);
            EXPECT_EQ(cell.width, edges[r][c].second);
            const double inner = cell.width - kBorder - 2 * kMargin;
            int next = 0;
            for (const LineBox &line : cell.lines) {
                EXPECT_DOUBLE_EQ(line.left, cell.left + kBorder / 2 + kMargin);
                EXPECT_LE(line.width, inner);
                EXPECT_EQ(line.textStart, next); // lines follow each other without gaps
                next += line.textLength;
            }
            EXPECT_EQ(next, text.size());
        }
        // The narrower cell needs more lines and sets the row's height.
        const auto &cells = box.rows[r].cells;
        const CellBox &narrow = cells[0].width < cells[1].width ? cells[0] : cells[1];
        EXPECT_GT(narrow.contentHeight, (cells[0].width < cells[1].width ? cells[1] : cells[0]).contentHeight);
        EXPECT_EQ(box.rows[r].height, narrow.contentHeight + kBorder);
    }
}

TEST(Layout, CellContentIsPlacedByVerticalAlignment)
{
    const TableBox box = layoutTable(tableOf({
        row(HeightRule::AtLeast, 800,
            {cell(kColumn, QStringLiteral("top"), tahoma(8), VerticalAlignment::Top),
             cell(kColumn, QStringLiteral("centre"), tahoma(8), VerticalAlignment::Centre),
             cell(kColumn, QStringLiteral("bottom"), tahoma(8), VerticalAlignment::Bottom)}),
        row(HeightRule::Exactly, 300, {cell(kColumn, words(900), tahoma(8), VerticalAlignment::Bottom)}),
    }));
    const int line = lineHeight(8);
    const int contentTop = kBorder;
    const int available = 800 - kBorder;
    EXPECT_EQ(box.rows[0].cells[0].lines[0].top, contentTop);
    EXPECT_EQ(box.rows[0].cells[1].lines[0].top, contentTop + (available - line) / 2);
    EXPECT_EQ(box.rows[0].cells[2].lines[0].top, 800 - line);
    // Content taller than an exact row starts at the top and is cut at the bottom.
    EXPECT_EQ(box.rows[1].cells[0].lines[0].top, 800 + kBorder);
}

TEST(Layout, EmptyAndCentredParagraphsAreSizedAndPlacedLikeWord)
{
    Paragraph emptyTitle;
    emptyTitle.markFormat = tahoma(16, true);
    Paragraph centred{{wordproc::Run{QStringLiteral("Rental Application"), tahoma(16, true, 153)}}, tahoma(16, true, 153),
                      Alignment::Centre};
    Paragraph trailingSpaces = centred;
    trailingSpaces.runs[0].text += QStringLiteral("      ");

    EXPECT_EQ(layoutParagraph(emptyTitle, 9850).height, lineHeight(16, true));
    const ParagraphBox title = layoutParagraph(centred, 9850);
    ASSERT_EQ(title.lines.size(), 1u);
    EXPECT_GT(title.lines[0].width, 1000);
    EXPECT_NEAR(title.lines[0].left + title.lines[0].width / 2, 9850 / 2.0, 0.5);
    EXPECT_NEAR(layoutParagraph(trailingSpaces, 9850).lines[0].left, title.lines[0].left, 0.5);

    // A signature cell: an empty first line, then the label.
    const Row signatureRow = std::get<Table>(sampleform::document().body[0]).rows[41];
    const TableBox box = layoutTable(tableOf({signatureRow}));
    const CellBox &signature = box.rows[0].cells[0];
    ASSERT_EQ(signature.lines.size(), 2u);
    EXPECT_EQ(signature.lines[0].textLength, 0);
    EXPECT_EQ(signature.lines[1].top - signature.lines[0].top, lineHeight(8));
    EXPECT_EQ(signature.contentHeight, 2 * lineHeight(8));
}

TEST(Layout, SampleFormKeepsItsMinimumHeightsAndFitsThePage)
{
    const Document document = sampleform::document();
    const ContentBox content = layoutContent(document);
    ASSERT_EQ(content.blocks.size(), 1u); // the closing empty paragraph is not drawn
    const TableBox &table = std::get<TableBox>(content.blocks[0].box);
    const Table &model = std::get<Table>(document.body[0]);
    ASSERT_EQ(table.rows.size(), 43u);
    for (std::size_t r = 0; r < 43; ++r)
        EXPECT_EQ(table.rows[r].height, model.rows[r].heightTwips) << "row " << r + 1;
    EXPECT_EQ(content.left, -kBorder / 2);
    EXPECT_EQ(content.width, kTableWidth + kBorder);
    EXPECT_EQ(content.height, 533 + 6 * 317 + 33 * 288 + 3 * 504 + kBorder);
    EXPECT_LE(content.height, document.page.pageHeight - document.page.topMargin - document.page.bottomMargin);
    // The statement wraps once; the title is centred in its cell.
    EXPECT_EQ(table.rows[40].cells[0].lines.size(), 2u);
    const LineBox &title = table.rows[0].cells[0].lines[0];
    EXPECT_NEAR(title.left + title.width / 2, kTableWidth / 2.0, 0.5);
}

} // namespace
