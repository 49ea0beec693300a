#pragma once
// The built-in word processor's document: what the .doc writer stores, the reader restores and the
// renderer draws. Lengths are twips (1/1440 in), the unit the .doc format stores.
#include <QString>

#include <cstdint>
#include <variant>
#include <vector>

namespace wordproc {

// Word colour numbers: red + 256 * green + 65536 * blue; kAutoColour is Word's automatic colour.
inline constexpr std::int32_t kAutoColour = -16777216;

struct CharFormat {
    QString fontName = QStringLiteral("Times New Roman");
    int halfPoints = 24; // 12 pt
    bool bold = false;
    std::int32_t colour = kAutoColour;
    bool operator==(const CharFormat &) const = default;
};

enum class Alignment { Left = 0, Centre = 1 };

struct Run {
    QString text; // never holds a structural character, see sanitizeUserText
    CharFormat format;
    bool operator==(const Run &) const = default;
};

struct Paragraph {
    std::vector<Run> runs;  // adjacent runs of equal format are merged
    CharFormat markFormat;  // the paragraph mark's format; gives an empty paragraph its height
    Alignment alignment = Alignment::Left;
    QString text() const;
    bool operator==(const Paragraph &) const = default;
};

enum class VerticalAlignment { Top = 0, Centre = 1, Bottom = 2 };

struct Shading {
    int texture = 0;                      // 0: none (solid background colour)
    std::int32_t foreground = kAutoColour;
    std::int32_t background = kAutoColour; // automatic: no fill
    bool operator==(const Shading &) const = default;
};

struct Cell {
    int widthTwips = 0;
    VerticalAlignment verticalAlignment = VerticalAlignment::Top;
    Shading shading;
    std::vector<Paragraph> paragraphs{Paragraph{}}; // at least one
    bool operator==(const Cell &) const = default;
};

enum class HeightRule { Auto = 0, AtLeast = 1, Exactly = 2 };

struct Row {
    std::vector<Cell> cells;
    HeightRule heightRule = HeightRule::Auto;
    int heightTwips = 0;
    CharFormat markFormat; // the row-end mark's format

    // What the height means, which is all the stored format keeps (one signed number): a row
    // without a positive height is automatic whatever its rule, and an automatic row has no height.
    HeightRule effectiveHeightRule() const { return heightTwips > 0 ? heightRule : HeightRule::Auto; }
    int effectiveHeightTwips() const { return effectiveHeightRule() == HeightRule::Auto ? 0 : heightTwips; }
    bool operator==(const Row &other) const
    {
        return cells == other.cells && effectiveHeightRule() == other.effectiveHeightRule()
            && effectiveHeightTwips() == other.effectiveHeightTwips() && markFormat == other.markFormat;
    }
};

struct Table {
    std::vector<Row> rows;
    QString style = QStringLiteral("Table Grid");
    bool gridBorders = true; // single 0.5 pt lines around and between every cell
    int cellMarginTwips = 115; // left and right padding inside a cell (0.08 in)
    int widthTwips() const;
    bool operator==(const Table &) const = default;
};

struct PageSetup {
    int pageWidth = 12240;  // 8.5 in
    int pageHeight = 15840; // 11 in
    int topMargin = 1440;
    int bottomMargin = 1440;
    int leftMargin = 1800;
    int rightMargin = 1800;
    int gutter = 0;
    int headerDistance = 720;
    int footerDistance = 720;
    bool landscape = false;
    bool lineNumbering = false;
    int firstPageTray = 0;
    int otherPagesTray = 0;
    int sectionStart = 2; // new page
    bool oddAndEvenPagesHeaderFooter = false;
    bool differentFirstPageHeaderFooter = false;
    int verticalAlignment = 0; // top
    bool suppressEndnotes = false;
    bool mirrorMargins = false;
    bool twoPagesOnOne = false;
    bool bookFoldPrinting = false;
    bool bookFoldRevPrinting = false;
    int bookFoldPrintingSheets = 1;
    int gutterPos = 0; // left
    int textWidth() const { return pageWidth - leftMargin - rightMargin - gutter; }
    bool operator==(const PageSetup &) const = default;
};

using Block = std::variant<Paragraph, Table>;

// The body is a sequence of paragraphs and tables and always ends with a paragraph.
struct Document {
    PageSetup page;
    std::vector<Block> body{Paragraph{}};
    bool operator==(const Document &) const = default;
};

// User text may never carry a character that has a structural meaning in the stored format
// (paragraph, cell and row marks, breaks, field characters, anchors) nor code units that are not
// text. TAB stays; every other C0 control, U+007F, the Unicode line breaks (U+0085 NEL, U+2028
// LINE SEPARATOR, U+2029 PARAGRAPH SEPARATOR), lone surrogates, U+FFFE and U+FFFF become a space. Applied in one place: when text enters the document.
QString sanitizeUserText(const QString &text);

} // namespace wordproc
