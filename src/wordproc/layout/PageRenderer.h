#pragma once
#include "wordproc/model/DocumentModel.h"

#include <QImage>

#include <memory>

namespace wordproc {

// Draws the document's content (its table and paragraphs, laid out on the page's text width as a
// word processor does) at the given resolution. The image records that resolution in its
// dots-per-metre, so its size in inches is that of the content on paper.
QImage renderContent(const Document &document, int dpi = 192);

struct ContentBox;

// That picture laid out once and drawn in parts: any band of its rows into an image of the band's
// size, so that a caller can pass rows on while the rest is drawn, or hold only a band at a time.
// Bands drawn separately give exactly the pixels of the whole picture. Holds a reference to the
// document, which must outlive it.
class ContentPicture {
public:
    ContentPicture(const Document &document, int dpi = 192);
    QSize size() const { return m_size; }
    int dotsPerMeter() const;
    // Draws the picture's rows from `top` on into `band` (RGB32, the picture's width), white first.
    void draw(QImage &band, int top) const;

private:
    const Document &m_document;
    std::shared_ptr<const ContentBox> m_content;
    int m_dpi = 0;
    QSize m_size;
};

} // namespace wordproc
