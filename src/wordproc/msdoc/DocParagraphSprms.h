#pragma once
// Paragraph properties as property lists (PAPX grpprl): alignment, table membership and, on the
// mark that ends a table row, the row's definition (cells, widths, borders, shading, height).
#include "wordproc/msdoc/DocStory.h"
#include "wordproc/msdoc/DocStyleSheet.h"

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

namespace wordproc::doc {

// The sprms of a paragraph without its istd. tableStyleIstd < 0: the row names no table style.
QByteArray encodeParagraphSprms(const StoryParagraph &paragraph, int tableStyleIstd);

// Gathers paragraph properties from property lists applied in order (styles first).
class ParagraphSprmReader {
public:
    void apply(const QByteArray &grpprl);

    Alignment alignment() const;
    bool inTable() const { return m_inTable || m_depth > 0; }
    int depth() const { return m_depth; }
    bool endsRow() const { return m_rowEnd; }
    // The row definition of a row-end mark. Throws base::Failure when it is missing or broken.
    RowLayout rowLayout(const StyleSheet &styles) const;

private:
    struct CellDefinition {
        int left = 0, right = 0;
        int verticalAlignment = 0;
        bool bordered = false;
        bool anyBorder = false;
    };
    void readTableDefinition(const QByteArray &operand);
    void readShadings(const QByteArray &operand, size_t firstCell);

    std::optional<int> m_jc, m_jc80;
    bool m_inTable = false;
    bool m_rowEnd = false;
    int m_depth = 0;
    std::vector<CellDefinition> m_cells;
    bool m_hasTableDefinition = false;
    std::vector<std::optional<Shading>> m_shadings;
    std::vector<std::uint16_t> m_shadings80;
    std::optional<bool> m_tableBordersAllLines;
    int m_rowHeight = 0;
    int m_gapHalf = 0;
    std::optional<int> m_padding;
    int m_tableStyle = -1;
};

} // namespace wordproc::doc
