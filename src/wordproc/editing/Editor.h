#pragma once
// Editing a document through a selection, as Word's cursor does: the selection is a range
// [start, end) of the document's character stream (see EditorPosition.h), moves step over text
// and marks alike, and a range that holds a cell mark is a selection of whole cells. Pure logic
// on the document model; failures throw base::Failure with a description.
#include "wordproc/model/DocumentModel.h"
#include "wordproc/editing/EditorPosition.h"
#include "wordproc/editing/EditorText.h"

#include <functional>
#include <optional>
#include <vector>

namespace wordproc {

class Editor {
public:
    explicit Editor(Document document = Document{});

    const Document &document() const { return m_document; }
    PageSetup &pageSetup() { return m_document.page; }

    Position selectionStart() const { return m_anchor; }
    Position selectionEnd() const { return m_active; }
    bool isInsertionPoint() const { return m_anchor == m_active; }
    // The cells the selection holds once it reaches over a cell mark; empty otherwise.
    std::optional<CellSpan> selectedCells() const;

    // Characters to the right; with extend the selection's end moves and a range that takes in a
    // cell mark grows to whole cells. Without extend a selection first collapses to its end, which
    // counts as one step. The insertion point never passes the document's final paragraph mark.
    void moveRight(int count, bool extend);
    // Lines down: the next paragraph of the cell, else the cell of the next row below the current
    // cell's left edge, else the block after the table.
    void moveDown(int count);

    // Text goes in at the insertion point, replacing a selection of text; CR LF, CR or LF start a
    // new paragraph. Every piece passes sanitizeUserText.
    void typeText(const QString &text);

    // On an insertion point the change applies to what is typed next (and to the mark of an empty
    // paragraph); on a selection to its text and to the marks it holds. Moving drops a pending one.
    void changeFont(const FormatChange &change);
    void setParagraphAlignment(Alignment alignment);

    void mergeCells();
    void setCellsVerticalAlignment(VerticalAlignment alignment);
    void changeCellsShading(const std::function<void(Shading &)> &change);
    void setRowsHeightRule(HeightRule rule);
    void setRowsHeight(int twips);

    // Inserts a table of empty cells at the position (splitting its paragraph when the position is
    // inside the text) with fixed equal columns across the text width; the cells take the format of
    // the paragraph that follows. The selection ends in the first cell. Answers the table's id.
    int insertTable(const Position &at, int rows, int columns);
    Table &table(int id);

private:
    CharFormat typingFormat() const;
    bool deleteSelectedText();
    void insertParagraphBreak(Position &at, const CharFormat &markFormat);
    void forEachParagraphInSelection(const std::function<void(Paragraph &, int from, int to, bool markIncluded)> &fn);
    CellSpan commandCells() const;
    CellSpan commandRows() const;
    void forEachCell(const CellSpan &span, const std::function<void(Cell &)> &fn);
    std::optional<Position> lineBelow(const Position &from) const;
    Position entryPoint(int block, int x, int offset) const;
    void selectCellsOf(const CellSpan &span);
    void collapseTo(const Position &position);

    Document m_document;
    Position m_anchor;
    Position m_active;
    std::optional<CharFormat> m_pendingFormat;
    std::vector<int> m_tableIds; // the body's tables in order
    int m_nextTableId = 0;
};

} // namespace wordproc
