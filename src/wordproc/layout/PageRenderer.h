#pragma once
#include "wordproc/model/DocumentModel.h"

#include <QImage>

namespace wordproc {

// Draws the document's content (its table and paragraphs, laid out on the page's text width as a
// word processor does) at the given resolution. The image records that resolution in its
// dots-per-metre, so its size in inches is that of the content on paper.
QImage renderContent(const Document &document, int dpi = 192);

} // namespace wordproc
