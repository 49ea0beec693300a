#pragma once
#include <QProxyStyle>

namespace shell {

// The program's style: the platform style, with a keyboard focus mark that does not depend on
// colour. Buttons, options and tabs show a dotted frame in their text colour, as on Windows; a
// focused text field's border is drawn twice as thick as the others, on top of its caret.
class FocusFrameStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;

private:
    void drawDottedFrame(const QRect &rect, const QStyleOption *option, QPainter *painter,
                         const QWidget *widget) const;
};

} // namespace shell
