#pragma once
// The document body as the .doc format sees it: one UTF-16 text in which paragraph, cell and row
// marks end every paragraph, plus the character runs and paragraph properties laid over it.
// flattenStory() turns the model into this form (checking that Word can hold it); rebuildBody()
// turns it back into blocks. The binary encoding of the story lives elsewhere.
#include "wordproc/model/DocumentModel.h"

#include <QString>

#include <optional>
#include <vector>

namespace wordproc::doc {

struct CellLayout {
    int widthTwips = 0;
    VerticalAlignment verticalAlignment = VerticalAlignment::Top;
    Shading shading;
    bool operator==(const CellLayout &) const = default;
};

// What a row-end mark carries: the row's cells and the table settings repeated on every row.
struct RowLayout {
    std::vector<CellLayout> cells;
    HeightRule heightRule = HeightRule::Auto;
    int heightTwips = 0;
    int gapHalfTwips = 0; // half the space between cells: the cell's left and right padding
    bool gridBorders = false;
    QString style;
    bool operator==(const RowLayout &) const = default;
};

struct StoryRun {
    qsizetype end = 0; // one past the run's last character; runs follow each other from 0
    CharFormat format;
};

struct StoryParagraph {
    qsizetype end = 0; // one past the paragraph's mark; paragraphs follow each other from 0
    Alignment alignment = Alignment::Left;
    bool inTable = false;
    std::optional<RowLayout> row; // set on the mark that ends a table row
};

struct Story {
    QString text;
    std::vector<StoryRun> runs;
    std::vector<StoryParagraph> paragraphs;
};

// Throws base::Failure naming the first thing a Word document cannot hold. Run text is cleaned
// with sanitizeUserText() here, whatever the model holds.
Story flattenStory(const Document &document);

// Throws base::Failure when the marks and row definitions contradict each other.
std::vector<Block> rebuildBody(const Story &story);

} // namespace wordproc::doc
