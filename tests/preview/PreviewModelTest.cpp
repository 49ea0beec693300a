#include "preview/ScrollModel.h"
#include "preview/Twips.h"
#include "preview/ZoomModel.h"

#include "runtime/AppError.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace preview;

namespace {

const ScrollModel::Viewport kViewport{9330, 7425, 9270, 7365};

ScrollModel laidOut(std::int32_t pageWidth, std::int32_t pageHeight)
{
    ScrollModel model(kViewport);
    model.setPageSize(pageWidth, pageHeight);
    model.layoutScrollbars();
    return model;
}

ZoomModel zoomOnPage(double unscaledWidth, double unscaledHeight)
{
    ZoomModel zoom;
    zoom.setSourceSize(unscaledWidth + 2, unscaledHeight + 2); // the source's inner size
    zoom.resetToSource();
    return zoom;
}

// One click: stepZoom's candidate through setZoom, then redrawImage's sizes when accepted.
void click(ZoomModel &zoom, bool zoomOut)
{
    if (zoom.setZoom(ZoomModel::stepCandidate(zoom.factor, zoomOut)))
        zoom.takeRedrawSizes();
}

} // namespace

TEST(TwipArithmetic, RoundsHalvesToEvenAndReportsOverflow)
{
    EXPECT_EQ(roundToInt16(133.5), 134);
    EXPECT_EQ(roundToInt16(132.5), 132);
    EXPECT_EQ(roundToInt16(-0.5), 0);
    EXPECT_EQ(roundToInt32(2.5), 2);
    EXPECT_THROW(roundToInt16(32767.5), runtime::AppError);
    EXPECT_EQ(multiplyInt16(10, 3276), 32760);
    EXPECT_THROW(multiplyInt16(10, 3277), runtime::AppError);
}

TEST(TwipArithmetic, PictureSizeOnPaperComesFromItsRecordedResolution)
{
    QImage letter(1632, 2112, QImage::Format_RGB32);
    letter.setDotsPerMeterX(7559); // what 192 dpi becomes in whole dots per metre
    letter.setDotsPerMeterY(7559);
    EXPECT_EQ(pictureTwipSize(letter), QSizeF(12240, 15840));
    EXPECT_EQ(pictureTwipSize(QImage()), QSizeF(0, 0));
}

TEST(ScrollLayout, OverflowDecidesMaximumAndStepAndTheBarMovesThePageOnItsGrid)
{
    ScrollModel wide = laidOut(9330 + 2670, 7425 + 1575);
    EXPECT_TRUE(wide.hBar().enabled);
    EXPECT_EQ(wide.hBar().maximum, 267);
    EXPECT_EQ(wide.hStep, 10);
    EXPECT_EQ(wide.vBar().maximum, 158); // 157.5 to even
    wide.setHValue(100);
    EXPECT_EQ(wide.pageLeft(), -1000);

    ScrollModel slight = laidOut(9330 + 80, 7425 + 100);
    EXPECT_EQ(slight.hBar().maximum, 80);
    EXPECT_EQ(slight.hStep, 1);
    EXPECT_EQ(slight.vBar().maximum, 100);
    EXPECT_EQ(slight.vStep, 1);

    ScrollModel fits = laidOut(9330, 7000);
    EXPECT_FALSE(fits.hBar().enabled);
    EXPECT_FALSE(fits.vBar().enabled);
    EXPECT_EQ(fits.hStep, 0);
    EXPECT_EQ(fits.hBar().maximum, 32767); // left as it was
    fits.setHValue(50);
    EXPECT_EQ(fits.pageLeft(), 0);
}

TEST(ScrollLayout, ShrinkingTheRangeBelowTheValueBringsThePageBackToTheCorner)
{
    ScrollModel model = laidOut(12000, 9000);
    model.setHValue(200);
    model.setPageSize(9410, 9000);
    model.layoutScrollbars();
    EXPECT_EQ(model.hBar().maximum, 80);
    EXPECT_EQ(model.hBar().value, 0);
    EXPECT_EQ(model.pageLeft(), 0);
}

TEST(ScrollDrag, DragToTheMiddleHandsBackFiftyPercentAndSnapsToTheGrid)
{
    ScrollModel model = laidOut(12000, 9000);
    model.grab(6000, 300);
    model.movePage(model.dragLeft(6000 - 1335), model.dragTop(300));
    EXPECT_EQ(model.pageLeft(), -1335);
    EXPECT_EQ(model.pageTop(), 0);

    ASSERT_EQ(model.horizontalPercent(), 50);
    model.setHScrollbarByPercent(50);
    EXPECT_EQ(model.hBar().value, 134);
    EXPECT_EQ(model.pageLeft(), -1340);

    // A release without a drag hands back the current position: an unchanged value leaves the page.
    model.movePage(-1333, 0);
    ASSERT_EQ(model.horizontalPercent(), 50);
    model.setHScrollbarByPercent(50);
    EXPECT_EQ(model.pageLeft(), -1333);
}

TEST(ScrollDrag, DragStopsAtThePageEdgesAndPinsASmallPageToTheFarEdge)
{
    ScrollModel model = laidOut(12000, 9000);
    model.grab(100, 100);
    EXPECT_EQ(model.dragLeft(900), 0);                  // dragging right past the left edge
    EXPECT_EQ(model.dragLeft(-5000), 9270.0f - 12000);  // right edge meets the inner right edge
    EXPECT_EQ(model.dragTop(-5000), 7365.0f - 9000);

    ScrollModel narrow = laidOut(6000, 9000);
    narrow.grab(100, 100);
    EXPECT_EQ(narrow.dragLeft(100), 9270.0f - 6000); // at or below 0: flush right
    EXPECT_EQ(narrow.dragLeft(50), 9270.0f - 6000);
    EXPECT_EQ(narrow.dragLeft(150), 0);
}

TEST(ScrollHandBack, NoRangeToMeasureOrPercentOutsideTheRangeLeavesTheBarAlone)
{
    ScrollModel model = laidOut(9330, 9000);
    EXPECT_FALSE(model.horizontalPercent().has_value());

    ScrollModel wide = laidOut(12000, 9000);
    wide.setHValue(30);
    wide.setHScrollbarByPercent(101);
    wide.setHScrollbarByPercent(-1);
    EXPECT_EQ(wide.hBar().value, 30);
    wide.setHScrollbarByPercent(100);
    EXPECT_EQ(wide.hBar().value, 267);
    EXPECT_EQ(wide.pageLeft(), -2670);
}

TEST(ScrollAfterZoom, BarsFollowTheNewPageButKeepTheEnablingTheRedrawChose)
{
    ScrollModel model = laidOut(12000, 9000);
    model.setHValue(100);
    model.setHValue(0);
    model.setPageSize(9300, 10792); // wider than the inner width, not than the outer
    model.enableForPage();
    model.fitBarsToPage();
    EXPECT_TRUE(model.hBar().enabled);
    EXPECT_EQ(model.hStep, 0);
    EXPECT_EQ(model.vBar().maximum, 337);
    EXPECT_EQ(model.vStep, 10);
    EXPECT_EQ(model.pageLeft(), 0);
    EXPECT_EQ(model.pageTop(), 0);
}

TEST(Zoom, StepsInQuartersBetweenAQuarterAndFourTimes)
{
    ZoomModel zoom = zoomOnPage(2000, 2500);
    for (int i = 0; i < 12; ++i)
        click(zoom, false);
    EXPECT_EQ(zoom.factor, 4.0f);
    EXPECT_EQ(zoom.zoomedWidth, 8000);
    EXPECT_FALSE(zoom.setZoom(ZoomModel::stepCandidate(zoom.factor, false)));
    EXPECT_EQ(zoom.factor, 4.0f);

    ZoomModel out = zoomOnPage(2000, 2500);
    for (int i = 0; i < 3; ++i)
        click(out, true);
    EXPECT_EQ(out.factor, 0.25f);
    EXPECT_EQ(out.zoomedHeight, 625);
    click(out, true);
    EXPECT_EQ(out.factor, 0.25f);
}

TEST(Zoom, TheOnePageFormReachesFourTimesInTwelveStepsAndBackInFifteen)
{
    ZoomModel zoom = zoomOnPage(10088, 13462); // the sample form's page picture
    for (int i = 0; i < 12; ++i)
        click(zoom, false);
    EXPECT_EQ(zoom.factor, 4.0f);
    EXPECT_EQ(zoom.zoomedWidth, 40352);
    EXPECT_EQ(zoom.zoomedHeight, 53848);
    for (int i = 0; i < 15; ++i)
        click(zoom, true);
    EXPECT_EQ(zoom.factor, 0.25f);
    EXPECT_EQ(zoom.zoomedWidth, 2522);
}

TEST(Zoom, APictureLargerThanFourLetterPagesFallsBackToOneWithoutDrawing)
{
    ZoomModel zoom = zoomOnPage(13000, 16000);
    for (int i = 0; i < 11; ++i)
        click(zoom, false);
    EXPECT_EQ(zoom.factor, 3.75f);
    EXPECT_EQ(zoom.zoomedWidth, 48750);
    EXPECT_EQ(zoom.zoomedHeight, 60000);

    ASSERT_TRUE(zoom.setZoom(4.0f)); // 52,000 twips wide
    EXPECT_FALSE(zoom.takeRedrawSizes());
    EXPECT_EQ(zoom.factor, 1.0f);
    EXPECT_EQ(zoom.zoomedWidth, 13000);
    EXPECT_EQ(zoom.zoomedHeight, 16000);
    EXPECT_EQ(ZoomModel::stepCandidate(zoom.factor, false), 1.25f);

    // Exactly four US Letter pages is the largest picture drawn.
    ZoomModel letter = zoomOnPage(12240, 15840);
    ASSERT_TRUE(letter.setZoom(4.0f));
    EXPECT_TRUE(letter.takeRedrawSizes());
    EXPECT_EQ(letter.zoomedHeight, 63360);

    ZoomModel record = zoomOnPage(10088, 63361); // a record over many pages: too high at 1
    EXPECT_FALSE(record.takeRedrawSizes());
    ZoomModel wide = zoomOnPage(48961, 2000);
    EXPECT_FALSE(wide.takeRedrawSizes());
}
