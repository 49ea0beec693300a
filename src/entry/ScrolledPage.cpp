#include "ScrolledPage.h"

#include <QApplication>
#include <QScrollArea>
#include <QVBoxLayout>

namespace entry {

QVBoxLayout *addScrolledPage(QWidget *dialog, QVBoxLayout *outer)
{
    auto *scroll = new QScrollArea(dialog);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *page = new QWidget(scroll);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    scroll->setWidget(page);
    outer->addWidget(scroll, 1);
    QObject::connect(qApp, &QApplication::focusChanged, scroll, [scroll, page](QWidget *, QWidget *now) {
        if (now && page->isAncestorOf(now))
            scroll->ensureWidgetVisible(now);
    });
    return layout;
}

} // namespace entry
