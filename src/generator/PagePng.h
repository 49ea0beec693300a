#pragma once
// A PNG writer for rendered pages, built for speed rather than size. A page is mostly paper:
// rows that repeat the row above and long runs of one colour. Those become deflate matches
// (fixed Huffman codes, no search), everything else literal bytes. Encoding a 192 dpi page
// takes a few milliseconds where a general-purpose PNG writer spends tens of milliseconds
// looking for matches a throw-away picture does not need. Any PNG reader reads the result.
#include <QByteArray>
#include <QImage>

namespace generator {

// The picture as a lossless 8-bit RGB PNG (alpha, if any, is dropped), with its resolution in
// a pHYs chunk. Throws shell::AppError for a null picture.
QByteArray encodePagePng(const QImage &picture);

} // namespace generator
