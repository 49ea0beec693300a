// Where a fixed-size window goes on a screen too small for it.
#include "shell/ScreenFit.h"

#include <gtest/gtest.h>

namespace {

using shell::fitWindow;

constexpr int kBar = 16;

TEST(ScreenFitTest, AWindowThatFitsKeepsItsSizeAndOneThatDoesNotTakesTheRoomThereIs)
{
    // The preview at scale factor 1 on 1024 x 768 with a panel: unchanged, centred.
    const QRect desktop(0, 0, 1024, 740);
    shell::WindowFit fit = fitWindow({656, 626}, {2, 30, 2, 2}, desktop, kBar);
    EXPECT_FALSE(fit.scrolls);
    EXPECT_EQ(fit.client.size(), QSize(656, 626));
    EXPECT_EQ(fit.client.topLeft(), QPoint(2 + (1020 - 656) / 2, 30 + (708 - 626) / 2));

    // At scale factor 2: 512 x 370 of room; the frame stays on the screen too.
    fit = fitWindow({656, 626}, {2, 30, 2, 2}, {0, 0, 512, 370}, kBar);
    EXPECT_TRUE(fit.scrolls);
    EXPECT_EQ(fit.client, QRect(2, 30, 508, 338));

    // Too high only: as wide as the content and its bar, centred across.
    fit = fitWindow({300, 600}, {}, {100, 0, 800, 400}, kBar);
    EXPECT_TRUE(fit.scrolls);
    EXPECT_EQ(fit.client, QRect(100 + (800 - 316) / 2, 0, 316, 400));

    // Too wide by a little: the horizontal bar makes it too high as well.
    fit = fitWindow({600, 390}, {}, {0, 0, 500, 400}, kBar);
    EXPECT_TRUE(fit.scrolls);
    EXPECT_EQ(fit.client, QRect(0, 0, 500, 400));

    // Exactly the room: fits.
    EXPECT_FALSE(fitWindow({500, 400}, {}, {0, 0, 500, 400}, kBar).scrolls);
}

} // namespace
