#include "FocusFrameStyle.h"

#include <QPainter>
#include <optional>
#include <QStyleOption>
#include <QWidget>

namespace shell {
namespace {

// Set when the platform style asked for the focus frame while drawing a control, so that a
// control is never framed twice. One GUI thread draws.
bool g_focusFrameDrawn = false;

// Where the frame goes around a control the platform style may draw without one.
std::optional<QStyle::SubElement> focusRectOf(QStyle::ControlElement element)
{
    switch (element) {
    case QStyle::CE_PushButton:
        return QStyle::SE_PushButtonFocusRect;
    case QStyle::CE_RadioButton:
        return QStyle::SE_RadioButtonFocusRect;
    case QStyle::CE_CheckBox:
        return QStyle::SE_CheckBoxFocusRect;
    case QStyle::CE_TabBarTab:
        return QStyle::SE_TabBarTabText;
    default:
        return std::nullopt;
    }
}

} // namespace

void FocusFrameStyle::drawDottedFrame(const QRect &rect, const QStyleOption *option, QPainter *painter,
                                      const QWidget *widget) const
{
    const QPalette::ColorRole text = widget ? widget->foregroundRole() : QPalette::WindowText;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(option->palette.color(text), 1, Qt::DotLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

void FocusFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                    const QWidget *widget) const
{
    switch (element) {
    case PE_FrameFocusRect:
        // Drawn whenever the control has the focus: some platform styles draw their mark only
        // after a key press, or in the selection colour alone.
        drawDottedFrame(option->rect, option, painter, widget);
        g_focusFrameDrawn = true;
        return;
    case PE_FrameLineEdit:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        if (option->state & State_HasFocus) {
            // A second line inside the border: the focused field's frame is thicker, not only
            // another colour.
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing, false);
            painter->setPen(QPen(option->palette.color(QPalette::Highlight).darker(130), 1));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option->rect.adjusted(1, 1, -2, -2));
            painter->restore();
        }
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void FocusFrameStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                  const QWidget *widget) const
{
    const std::optional<SubElement> focusRect = focusRectOf(element);
    if (!focusRect || !(option->state & State_HasFocus)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    g_focusFrameDrawn = false;
    QProxyStyle::drawControl(element, option, painter, widget);
    if (!g_focusFrameDrawn) {
        QRect rect = subElementRect(*focusRect, option, widget);
        if (element == CE_TabBarTab)
            rect = option->rect.adjusted(3, 3, -3, -3);
        drawDottedFrame(rect, option, painter, widget);
    }
    g_focusFrameDrawn = false;
}

} // namespace shell
