#pragma once
#include "preview/DocumentPages.h"

namespace app {

// The preview's pages from the built-in word processor: the Word file read back and laid out as
// for the page picture, then cut into pages and drawn as vector graphics.
class WordFilePages final : public preview::DocumentPages {
public:
    void setUpPaper(const QString &wordFile, QPagedPaintDevice &device) override;
    void draw(const QString &wordFile, QPagedPaintDevice &device) override;
    QByteArray pdf(const QString &wordFile) override;
    QString readingText(const QString &wordFile) override;
};

} // namespace app
