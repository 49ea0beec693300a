#include "AppearanceFrameStyle.h"

#include <QApplication>
#include <QGroupBox>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionGroupBox>

namespace shell {
namespace {

class CaptionOnBorderStyle final : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget) const override
    {
        QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
        if (control != CC_GroupBox)
            return rect;
        const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
        if (!box)
            return rect;
        const int captionHeight = box->fontMetrics.height();
        if (part == SC_GroupBoxFrame)
            rect = box->rect.adjusted(0, box->text.isEmpty() ? 0 : captionHeight / 2, 0, 0);
        else if (part == SC_GroupBoxLabel && !box->text.isEmpty())
            rect = QRect(box->rect.left() + 8, box->rect.top(),
                         box->fontMetrics.horizontalAdvance(box->text) + 6, captionHeight);
        return rect;
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override
    {
        const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
        if (control != CC_GroupBox || !box) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QRect frame = subControlRect(CC_GroupBox, option, SC_GroupBoxFrame, widget);
        const QRect label = subControlRect(CC_GroupBox, option, SC_GroupBoxLabel, widget);

        // A thin rounded border in a shade of the frame's own background, broken by the caption.
        painter->save();
        QRegion outsideCaption(box->rect);
        if (!box->text.isEmpty())
            outsideCaption -= label;
        painter->setClipRegion(outsideCaption);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(box->palette.color(QPalette::Window).darker(150));
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
        painter->restore();

        if (!box->text.isEmpty()) {
            const QColor textColour = box->textColor.isValid() ? box->textColor
                                                                : box->palette.color(QPalette::WindowText);
            painter->save();
            painter->setPen(textColour);
            proxy()->drawItemText(painter, label, Qt::AlignCenter | Qt::TextShowMnemonic, box->palette,
                                  box->state & State_Enabled, box->text, QPalette::NoRole);
            painter->restore();
        }
    }
};

CaptionOnBorderStyle *sharedStyle()
{
    static CaptionOnBorderStyle *style = [] {
        auto *created = new CaptionOnBorderStyle;
        created->setParent(qApp); // gone with the application
        return created;
    }();
    return style;
}

} // namespace

void putCaptionOnBorder(QGroupBox *frame) { frame->setStyle(sharedStyle()); }

} // namespace shell
