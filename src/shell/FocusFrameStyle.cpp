#include "FocusFrameStyle.h"

#include <QPainter>
#include <QStyleOption>
#include <QWidget>

namespace shell {

void FocusFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                    const QWidget *widget) const
{
    switch (element) {
    case PE_FrameFocusRect: {
        // Drawn whenever the control has the focus: some platform styles draw their mark only
        // after a key press, or in the selection colour alone.
        const QPalette::ColorRole text = widget ? widget->foregroundRole() : QPalette::WindowText;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        QPen pen(option->palette.color(text), 1, Qt::DotLine);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
        return;
    }
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

} // namespace shell
