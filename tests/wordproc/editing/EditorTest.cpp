#include "wordproc/editing/Editor.h"

#include "base/Failure.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace wordproc;

namespace {

QString cellText(const Document &document, int block, int row, int cell)
{
    QStringList paragraphs;
    for (const Paragraph &paragraph : tableAt(document, block).rows[row].cells[cell].paragraphs)
        paragraphs << paragraph.text();
    return paragraphs.join(QLatin1Char('|'));
}

// A document whose first block is a table with the given cell texts, one string per row, cells
// separated by '|'.
Document tableDocument(const QStringList &rows)
{
    Document document;
    Table table;
    for (const QString &rowText : rows) {
        Row row;
        for (const QString &text : rowText.split(QLatin1Char('|'))) {
            Cell cell;
            cell.widthTwips = 2880;
            if (!text.isEmpty())
                cell.paragraphs.front().runs.push_back(wordproc::Run{text, CharFormat{}});
            row.cells.push_back(cell);
        }
        table.rows.push_back(row);
    }
    document.body.insert(document.body.begin(), Block{table});
    return document;
}

CharFormat tahoma(int halfPoints, bool bold = false)
{
    CharFormat format;
    format.fontName = QStringLiteral("Tahoma");
    format.halfPoints = halfPoints;
    format.bold = bold;
    return format;
}

TEST(EditorStream, CellRowAndParagraphMarksFormOneStreamThatPositionsMapOntoBothWays)
{
    Editor editor;
    editor.insertTable(Position{}, 2, 3);
    editor.typeText(QStringLiteral("ab"));
    editor.moveRight(1, false);
    editor.typeText(QStringLiteral("\r\nX"));

    const Document &document = editor.document();
    EXPECT_EQ(streamText(document), QStringLiteral(u"ab\x07\rX\x07\x07\x07\x07\x07\x07\x07\r"));
    EXPECT_EQ(streamOffset(document, editor.selectionEnd()), 5);
    EXPECT_EQ(positionAtOffset(document, 2), (Position{0, 0, 0, 0, 2}));
    EXPECT_EQ(positionAtOffset(document, 4), (Position{0, 0, 1, 1, 0}));
    EXPECT_EQ(positionAtOffset(document, 7), (Position{0, 0, 3, 0, 0})); // before the row-end mark
    EXPECT_EQ(positionAtOffset(document, 12), (Position{1, 0, 0, 0, 0}));
    for (int offset = 0; offset < int(streamText(document).size()); ++offset)
        EXPECT_EQ(streamOffset(document, positionAtOffset(document, offset)), offset) << offset;
}

TEST(EditorStream, ADocumentReadFromElsewhereIsBroughtIntoAnEditableShape)
{
    Document odd;
    odd.body = {Block{Table{{Row{}}}}}; // a row without cells and no paragraph after the table
    Editor editor(odd);
    EXPECT_EQ(streamText(editor.document()), QStringLiteral(u"\x07\x07\r"));
    editor.moveRight(5, false);
    EXPECT_EQ(editor.selectionStart(), documentEnd(editor.document()));
}

TEST(EditorMoves, MovingRightStepsOverTextCellMarksAndRowEndsIntoTheNextRow)
{
    Editor editor;
    editor.insertTable(Position{}, 2, 3);
    editor.typeText(QStringLiteral("ab"));
    editor.moveRight(1, false);
    EXPECT_EQ(editor.selectionStart(), cellStart(0, 0, 1)) << "one step from typed text reaches the next cell";

    editor.moveRight(1, false);
    editor.moveRight(1, false);
    EXPECT_TRUE(isRowEnd(editor.document(), editor.selectionStart())) << "the last cell's mark leads to the row end";
    editor.moveRight(1, false);
    EXPECT_EQ(editor.selectionStart(), cellStart(0, 1, 0));

    editor.moveRight(2, false);
    editor.moveRight(2, false);
    EXPECT_EQ(editor.selectionStart(), blockStart(editor.document(), 1)) << "out of the last row to the paragraph after";
    editor.moveRight(5, false);
    EXPECT_EQ(editor.selectionStart(), documentEnd(editor.document())) << "never past the final paragraph mark";

    Document emoji;
    std::get<Paragraph>(emoji.body[0]).runs.push_back(wordproc::Run{QStringLiteral(u"\U0001F600x"), CharFormat{}});
    Editor text(emoji);
    text.moveRight(1, false);
    EXPECT_EQ(text.selectionStart().offset, 2) << "a surrogate pair is one character";
}

TEST(EditorMoves, ExtendingOverACellMarkSelectsWholeCells)
{
    Editor editor(tableDocument({QStringLiteral("||"), QStringLiteral("||"), QStringLiteral("abc||")}));
    editor.moveRight(3, true);
    auto cells = editor.selectedCells();
    ASSERT_TRUE(cells);
    EXPECT_EQ(std::tuple(cells->firstRow, cells->firstCell, cells->lastCell, cells->wholeRows()), std::tuple(0, 0, 2, false));

    editor.moveRight(2, false); // collapse to the end (the row end) and over the row-end mark
    EXPECT_EQ(editor.selectionStart(), cellStart(0, 1, 0));
    editor.moveRight(1, false);
    editor.moveRight(2, true);
    cells = editor.selectedCells();
    ASSERT_TRUE(cells);
    EXPECT_EQ(std::tuple(cells->firstRow, cells->firstCell, cells->lastCell), std::tuple(1, 1, 2)) << "from cell 2, two cells";

    editor.moveRight(2, false);
    editor.moveRight(2, true);
    EXPECT_FALSE(editor.selectedCells()) << "text within one cell stays a text selection";
    EXPECT_EQ(editor.selectionEnd(), (Position{0, 2, 0, 0, 2}));
    editor.moveRight(2, true); // over 'c' and the cell mark
    cells = editor.selectedCells();
    ASSERT_TRUE(cells);
    EXPECT_EQ(std::tuple(cells->firstCell, cells->lastCell), std::tuple(0, 0));
    editor.moveRight(1, true);
    EXPECT_EQ(editor.selectedCells()->lastCell, 1) << "each further step takes the next cell";
    EXPECT_EQ(editor.selectionStart(), cellStart(0, 2, 0));

    Editor rows(tableDocument({QStringLiteral("||"), QStringLiteral("||")}));
    rows.moveRight(5, true);
    cells = rows.selectedCells();
    ASSERT_TRUE(cells);
    EXPECT_TRUE(cells->wholeRows());
    EXPECT_EQ(std::tuple(cells->firstRow, cells->lastRow), std::tuple(0, 1));
    EXPECT_THROW(rows.mergeCells(), base::Failure);
}

TEST(EditorCells, MergeSumsWidthsJoinsNonEmptyTextsAsParagraphsAndLeavesTheCursorInTheMergedCell)
{
    Editor editor(tableDocument({QStringLiteral("a||b"), QStringLiteral("||")}));
    editor.moveRight(4, true); // 'a', its cell mark, the empty cell's mark, 'b'
    editor.mergeCells();

    const Row &row = tableAt(editor.document(), 0).rows[0];
    ASSERT_EQ(row.cells.size(), 1u);
    EXPECT_EQ(row.cells[0].widthTwips, 3 * 2880);
    EXPECT_EQ(cellText(editor.document(), 0, 0, 0), QStringLiteral("a|b"));
    EXPECT_TRUE(editor.isInsertionPoint());
    EXPECT_EQ(editor.selectionStart(), cellStart(0, 0, 0));

    editor.moveRight(3, false); // 'a', its paragraph mark, 'b'
    editor.moveRight(2, false);
    EXPECT_EQ(editor.selectionStart(), cellStart(0, 1, 0)) << "the merged row has one cell mark and its row end";
    editor.moveRight(2, true);
    editor.mergeCells();
    EXPECT_EQ(cellText(editor.document(), 0, 1, 0), QString());
    EXPECT_EQ(tableAt(editor.document(), 0).rows[1].cells.size(), 2u);

    Editor outside;
    EXPECT_THROW(outside.mergeCells(), base::Failure);
    EXPECT_THROW(outside.setRowsHeight(288), base::Failure);
}

TEST(EditorMoves, MovingDownKeepsTheColumnAndLeavesTheTableBelowItsLastRow)
{
    Editor editor(tableDocument({QStringLiteral("||"), QStringLiteral("||"), QStringLiteral("||")}));
    editor.moveRight(2, true);
    editor.mergeCells(); // row 1: 2+1
    editor.moveRight(1, false);
    editor.moveDown(1);
    EXPECT_EQ(editor.selectionStart(), cellStart(0, 1, 2)) << "the cell below the merged row's second cell";

    editor.moveRight(2, false);
    editor.moveRight(3, true);
    editor.mergeCells(); // row 3: one cell
    editor.moveDown(1);
    editor.moveDown(1);
    EXPECT_EQ(editor.selectionStart(), (Position{1, 0, 0, 0, 0})) << "below the last row: the paragraph after";

    Editor clamped(tableDocument({QStringLiteral("||"), QString()}));
    clamped.moveRight(2, false);
    clamped.moveDown(1);
    EXPECT_EQ(clamped.selectionStart(), cellStart(0, 1, 0)) << "a row with fewer cells: its last cell";
}

TEST(EditorTyping, EveryLineBreakKindStartsAParagraphAndTheFirstPieceStaysInTheCurrentOne)
{
    Editor editor;
    editor.insertTable(Position{}, 1, 2);
    editor.typeText(QStringLiteral("\r\nSignature of applicant:"));
    EXPECT_EQ(cellText(editor.document(), 0, 0, 0), QStringLiteral("|Signature of applicant:"));
    editor.moveRight(1, false);
    EXPECT_EQ(editor.selectionStart(), cellStart(0, 0, 1));

    editor.moveRight(2, false);
    editor.typeText(QStringLiteral("a\rb\nc\r\nd\n\re"));
    QStringList paragraphs;
    for (std::size_t b = 1; b < editor.document().body.size(); ++b)
        paragraphs << std::get<Paragraph>(editor.document().body[b]).text();
    EXPECT_EQ(paragraphs, (QStringList{"a", "b", "c", "d", "", "e"}));
}

TEST(EditorTyping, ControlCharactersInTypedTextNeverReachTheDocument)
{
    Editor editor;
    editor.insertTable(Position{}, 1, 1);
    editor.typeText(QStringLiteral(u"x\ty\x01z\x07\x0B\x0C\x13\x14\x15\x1F\x7F") + QChar(0xD800) + QStringLiteral(u"\U0001F600"));
    EXPECT_EQ(cellText(editor.document(), 0, 0, 0), QStringLiteral(u"x\ty z") + QString(9, u' ') + QStringLiteral(u"\U0001F600"));
    EXPECT_EQ(streamText(editor.document()).count(QChar(kCellMark)), 2) << "only the cell mark and the row-end mark";
}

TEST(EditorFormat, FormatSetAtTheCursorAppliesToTheNextTextOfThatCellOnly)
{
    Editor editor;
    editor.changeFont([](CharFormat &format) { format.fontName = QStringLiteral("Tahoma"); });
    editor.changeFont([](CharFormat &format) { format.halfPoints = 16; });
    editor.insertTable(Position{}, 1, 3);
    EXPECT_EQ(tableAt(editor.document(), 0).rows[0].cells[2].paragraphs[0].markFormat, tahoma(16)) << "cells take the base font";

    editor.changeFont([](CharFormat &format) { format.bold = true; });
    editor.changeFont([](CharFormat &format) { format.halfPoints = 32; });
    EXPECT_EQ(tableAt(editor.document(), 0).rows[0].cells[0].paragraphs[0].markFormat, tahoma(32, true))
        << "an empty paragraph's mark takes the format";
    editor.typeText(QStringLiteral("T"));
    editor.typeText(QStringLiteral("itle"));
    editor.moveRight(1, false);
    editor.typeText(QStringLiteral("f"));
    editor.changeFont([](CharFormat &format) { format.bold = true; });
    editor.typeText(QStringLiteral("g"));
    editor.moveRight(1, false);
    editor.typeText(QStringLiteral("h"));

    const Row &row = tableAt(editor.document(), 0).rows[0];
    EXPECT_EQ(row.cells[0].paragraphs[0].runs, (std::vector<wordproc::Run>{{QStringLiteral("Title"), tahoma(32, true)}}));
    EXPECT_EQ(row.cells[1].paragraphs[0].runs,
              (std::vector<wordproc::Run>{{QStringLiteral("f"), tahoma(16)}, {QStringLiteral("g"), tahoma(16, true)}}));
    EXPECT_EQ(row.cells[1].paragraphs[0].markFormat, tahoma(16)) << "a paragraph with text keeps its mark";
    EXPECT_EQ(row.cells[2].paragraphs[0].runs, (std::vector<wordproc::Run>{{QStringLiteral("h"), tahoma(16)}}))
        << "leaving the cell drops the pending format";
}

TEST(EditorFormat, FormatAndTypingOnASelectionActOnItsText)
{
    Editor editor(tableDocument({QStringLiteral("abc|")}));
    editor.moveRight(2, true);
    editor.changeFont([](CharFormat &format) { format.bold = true; });
    CharFormat bold;
    bold.bold = true;
    const auto &cell = tableAt(editor.document(), 0).rows[0].cells[0];
    EXPECT_EQ(cell.paragraphs[0].runs, (std::vector<wordproc::Run>{{QStringLiteral("ab"), bold}, {QStringLiteral("c"), CharFormat{}}}));
    EXPECT_EQ(cell.paragraphs[0].markFormat, CharFormat{});

    editor.typeText(QStringLiteral("XY"));
    EXPECT_EQ(cell.paragraphs[0].runs, (std::vector<wordproc::Run>{{QStringLiteral("XY"), bold}, {QStringLiteral("c"), CharFormat{}}}))
        << "typing replaces the selection in the format of its first character";

    editor.moveRight(1, false);
    editor.moveRight(1, true); // over the cell mark: the whole cell
    editor.changeFont([](CharFormat &format) { format.halfPoints = 20; });
    EXPECT_EQ(cell.paragraphs[0].runs.back().format.halfPoints, 20);
    EXPECT_EQ(cell.paragraphs[0].markFormat.halfPoints, 20);
    editor.setParagraphAlignment(Alignment::Centre);
    EXPECT_EQ(cell.paragraphs[0].alignment, Alignment::Centre);
    editor.typeText(QStringLiteral("!"));
    EXPECT_EQ(cellText(editor.document(), 0, 0, 0), QStringLiteral("!XYc")) << "a cell selection collapses to its start";
}

} // namespace
