#include "preview/PagePicture.h"

#include "PreviewTestPages.h"

#include <QImage>
#include <gtest/gtest.h>

using preview::PagePicture;

namespace {

// The page's diagonal, sampled where it crosses the middle of the box: dark there, white in a
// corner away from it.
void expectDiagonalDrawn(PagePicture &box)
{
    const QImage shown = box.grab().toImage();
    const QPoint middle(shown.width() / 2, shown.height() / 2);
    int darkest = 255;
    for (int dx = -3; dx <= 3; ++dx)
        darkest = std::min(darkest, qGray(shown.pixel(middle + QPoint(dx, 0))));
    EXPECT_LT(darkest, 230); // a one-pixel line halved still shows
    EXPECT_EQ(shown.pixelColor(shown.width() - 2, 1), QColor(Qt::white));
}

} // namespace

TEST(PagePicture, KeepsOneReducedCopyAndScalesAnEnlargedPageOnlyWherePainted)
{
    PagePicture box;
    box.setPicture(previewtest::pagePicture(400, 400, 192));

    box.resize(200, 200);
    expectDiagonalDrawn(box);
    EXPECT_EQ(box.heldScaledCopy().size(), QSize(200, 200));

    // Four times as large: an enlarged copy would take sixteen times the source's memory.
    box.resize(1600, 1600);
    expectDiagonalDrawn(box);
    EXPECT_TRUE(box.heldScaledCopy().isNull());

    box.resize(100, 100);
    expectDiagonalDrawn(box);
    EXPECT_EQ(box.heldScaledCopy().size(), QSize(100, 100));
}
