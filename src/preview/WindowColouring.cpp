#include "WindowColouring.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

namespace preview {
namespace {
void useButtonFace(QWidget *widget)
{
    widget->setBackgroundRole(QPalette::Button);
    widget->setAutoFillBackground(true);
}
} // namespace

void colourWindow(QWidget *window)
{
    useButtonFace(window);
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (qobject_cast<QGroupBox *>(child) || qobject_cast<QLabel *>(child) || qobject_cast<QCheckBox *>(child)
            || qobject_cast<QRadioButton *>(child))
            useButtonFace(child);
    }
}

} // namespace preview
