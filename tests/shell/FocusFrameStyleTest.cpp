// The focus mark must be visible by its shape, whatever the colours.
#include "shell/FocusFrameStyle.h"

#include <QImage>
#include <QPainter>
#include <QStyleOption>

#include <gtest/gtest.h>

namespace {

QImage draw(QStyle::PrimitiveElement element, QStyleOption &option, QColor background)
{
    QImage image(option.rect.size(), QImage::Format_RGB32);
    image.fill(background);
    shell::FocusFrameStyle style;
    QPainter painter(&image);
    style.drawPrimitive(element, &option, &painter);
    return image;
}

int differingPixelsInRow(const QImage &image, int y, QColor background)
{
    int count = 0;
    for (int x = 0; x < image.width(); ++x)
        count += image.pixelColor(x, y) != background;
    return count;
}

TEST(FocusFrameStyleTest, FocusFrameIsADottedLineInTheTextColourEvenWithoutAKeyPress)
{
    for (QColor text : {QColor(Qt::black), QColor(Qt::white)}) {
        QStyleOptionFocusRect option;
        option.rect = QRect(0, 0, 60, 20);
        option.state = QStyle::State_HasFocus; // focus given by a click: no keyboard flag
        option.palette.setColor(QPalette::WindowText, text);
        const QColor background = text == Qt::black ? QColor(Qt::white) : QColor(0x25, 0x5d, 0x9c);
        const QImage image = draw(QStyle::PE_FrameFocusRect, option, background);

        // Dotted: along each edge about every other pixel is the text colour, the rest untouched.
        for (int y : {0, 19}) {
            int marks = 0;
            for (int x = 0; x < 60; ++x)
                marks += image.pixelColor(x, y) == text;
            EXPECT_GE(marks, 20) << "row " << y;
            EXPECT_LE(marks, 40) << "row " << y;
        }
        EXPECT_GE(differingPixelsInRow(image.transformed(QTransform().rotate(90)), 0, background), 5);
        EXPECT_EQ(image.pixelColor(30, 10), background) << "the inside stays free for the caption";
    }
}

TEST(FocusFrameStyleTest, FocusedTextFieldHasAThickerBorder)
{
    const QColor background(Qt::white);
    QStyleOptionFrame option;
    option.rect = QRect(0, 0, 80, 24);
    option.lineWidth = 1;
    option.palette.setColor(QPalette::Base, background);
    option.palette.setColor(QPalette::Window, background);
    option.palette.setColor(QPalette::Highlight, QColor(0x30, 0x8c, 0xc6));
    option.state = QStyle::State_Enabled;
    const QImage plain = draw(QStyle::PE_FrameLineEdit, option, background);
    option.state = QStyle::State_Enabled | QStyle::State_HasFocus;
    const QImage focused = draw(QStyle::PE_FrameLineEdit, option, background);

    // The second line from each edge is drawn dark across the field when focused, a shade at most
    // without the focus.
    for (QPoint inner : {QPoint(40, 1), QPoint(40, 22), QPoint(1, 12), QPoint(78, 12)}) {
        EXPECT_LT(qGray(focused.pixel(inner)), 160) << inner.x() << "," << inner.y();
        EXPECT_GT(qGray(plain.pixel(inner)) - qGray(focused.pixel(inner)), 40) << inner.x() << "," << inner.y();
    }
    EXPECT_GE(differingPixelsInRow(focused, 1, background), 70);
}

} // namespace
