#include "DialogFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace shell {

void fitDialogToScreen(QWidget &dialog, const QWidget *parent)
{
    const QScreen *screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize room = screen->availableGeometry().size() - QSize(16, 48); // the frame and the title bar
    dialog.setMinimumSize(dialog.minimumSizeHint().boundedTo(room));
    dialog.resize(dialog.sizeHint().boundedTo(room));
}

} // namespace shell
