#pragma once
#include "wordproc/model/DocumentModel.h"

#include <QImage>

#include <functional>

namespace wordproc {

// Draws the document's content (its table and paragraphs, laid out on the page's text width as a
// word processor does) at the given resolution. The image records that resolution in its
// dots-per-metre, so its size in inches is that of the content on paper.
QImage renderContent(const Document &document, int dpi = 192);

// The same picture drawn in parts, for a caller that passes rows on while the rest is drawn:
// `begin` receives the white picture (its size and resolution set) before anything is drawn,
// then the content is drawn into it in bands of `bandRows` rows from the top, and `drawn` is told
// after each band how many rows from the top are finished; rows it has been told of no longer
// change and may be read from another thread. Returns the picture, equal to renderContent()'s.
QImage renderContentInBands(const Document &document, int dpi, int bandRows,
                            const std::function<void(const QImage &picture)> &begin,
                            const std::function<void(int finishedRows)> &drawn);

} // namespace wordproc
