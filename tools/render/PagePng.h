#pragma once
// A PNG writer for rendered pages, built for speed rather than size. A page is mostly paper:
// rows that repeat the row above and long runs of one colour. Those become deflate matches
// (fixed Huffman codes, no search), everything else literal bytes. Encoding a 192 dpi page
// takes a few milliseconds where a general-purpose PNG writer spends tens of milliseconds
// looking for matches a throw-away picture does not need. Any PNG reader reads the result.
#include <QByteArray>
#include <QImage>
#include <QSize>

#include <cstddef>
#include <memory>

namespace tools {

// The same PNG built row by row, for a picture drawn in parts: rows are added top to bottom as
// they become ready, and each is encoded at once. The file comes out in pieces as well, so that
// neither the picture nor its PNG need be held whole.
class PagePngEncoder {
public:
    // Throws runtime::AppError for an empty size.
    PagePngEncoder(QSize size, int dotsPerMeterX, int dotsPerMeterY);
    ~PagePngEncoder();
    PagePngEncoder(const PagePngEncoder &) = delete;
    PagePngEncoder &operator=(const PagePngEncoder &) = delete;

    // `count` rows of an RGB32 or ARGB32 image as wide as the picture, from row `first`.
    void addRows(const QImage &image, int first, int count);
    // The file's bytes completed since the last call (the header at first, then whole chunks).
    QByteArray takeBytes();
    // The rest of the file (all of it when takeBytes() was never called); throws runtime::AppError
    // unless every row was added.
    QByteArray finish();

private:
    struct State;
    void addRow(const QRgb *row);
    void closeIdat();

    static constexpr std::size_t kIdatBytes = 1 << 18;

    QSize m_size;
    QByteArray m_png; // completed bytes not yet taken
    int m_rowsAdded = 0;
    std::unique_ptr<State> m_state;
};

// The picture as a lossless 8-bit RGB PNG (alpha, if any, is dropped), with its resolution in
// a pHYs chunk. Throws runtime::AppError for a null picture.
QByteArray encodePagePng(const QImage &picture);

} // namespace tools
