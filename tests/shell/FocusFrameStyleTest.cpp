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

// Counts the pixels in exactly the given colour.
int pixelsOf(const QImage &image, QColor colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

template <class Option> QImage drawControl(QStyle::ControlElement element, QStyle::State state)
{
    Option option;
    option.rect = QRect(0, 0, 120, 28);
    option.state = QStyle::State_Enabled | state;
    option.palette.setColor(QPalette::WindowText, Qt::black);
    option.palette.setColor(QPalette::ButtonText, Qt::black);
    option.text = QStringLiteral("Own"); // drawn alike with and without the focus
    QImage image(option.rect.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    shell::FocusFrameStyle style;
    QPainter painter(&image);
    style.drawControl(element, &option, &painter);
    return image;
}

TEST(FocusFrameStyleTest, FocusedButtonOptionAndTabAreFramed)
{
    const struct {
        const char *what;
        QImage plain, focused;
    } controls[] = {
        {"button", drawControl<QStyleOptionButton>(QStyle::CE_PushButton, {}),
         drawControl<QStyleOptionButton>(QStyle::CE_PushButton, QStyle::State_HasFocus)},
        {"option", drawControl<QStyleOptionButton>(QStyle::CE_RadioButton, {}),
         drawControl<QStyleOptionButton>(QStyle::CE_RadioButton, QStyle::State_HasFocus)},
        {"tab", drawControl<QStyleOptionTab>(QStyle::CE_TabBarTab, QStyle::State_Selected),
         drawControl<QStyleOptionTab>(QStyle::CE_TabBarTab, QStyle::State_Selected | QStyle::State_HasFocus)},
    };
    for (const auto &control : controls) {
        // A dotted frame in the text colour, once: more than a few pixels, fewer than two frames.
        const int added = pixelsOf(control.focused, Qt::black) - pixelsOf(control.plain, Qt::black);
        EXPECT_GE(added, 20) << control.what;
        EXPECT_LE(added, 200) << control.what;
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
