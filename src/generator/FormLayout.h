#pragma once
// The rental application form as data: which row of the one 43 x 3 table carries which heading,
// labels and fields, and which row recipe builds it.
#include <QString>

#include <array>
#include <span>

namespace generator {

enum class Recipe {
    Title,      // whole row, shaded, large dark red title
    Heading,    // whole row, black with white bold text
    WholeRow,   // one field cell across the row
    Triple,     // 1+1+1
    TwoPlusOne, // columns 1-2 merged, then column 3
    OnePlusTwo, // column 1, then columns 2-3 merged
    References, // the reference row and the two blank rows below it
    Statement,  // whole row, exact height
    Signature,  // 2+1, exact height, labels on the cell's second line
};

enum class Source {
    None,     // the label alone
    Text,     // a text field's current text
    HouseWord, // "Own" when the named Own option is selected, otherwise "Rent"
    PayWord,  // "Salary" when the named Salary option is selected, otherwise "Hourly"
};

struct CellSpec {
    const char *label = "";
    Source source = Source::None;
    const char *field = ""; // control identifier for Text, HouseWord and PayWord
};

struct RowSpec {
    int firstStep; // the generator's step label where the row starts
    Recipe recipe;
    std::array<CellSpec, 3> cells; // left to right; merged rows use the first cells only
};

// The form's rows from the top; the reference recipe covers three table rows.
std::span<const RowSpec> formRows();

inline constexpr int kFormRowCount = 43;
inline constexpr int kFormColumnCount = 3;

} // namespace generator
