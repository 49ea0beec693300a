#include "ScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace shell {
namespace {
// Room kept around a control scrolled into view, so its focus frame shows too.
constexpr int kRevealMargin = 8;
// Smaller than this a window would hold nothing but its scroll bars.
constexpr int kSmallestClient = 64;

int centredStart(int start, int room, int length) { return start + std::max(0, (room - length) / 2); }

// Tab is left to the window, and what comes into view is decided in one place (reveal): the
// scroll area's own would centre a control wider than the view, or the whole of the preview's
// page rather than the part of it that shows.
class FitScrollArea final : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};
} // namespace

WindowFit fitWindow(QSize content, QMargins frame, QRect available, int scrollBar)
{
    const QRect room = available.marginsRemoved(frame);
    WindowFit fit;
    bool wide = content.width() > room.width();
    bool tall = content.height() > room.height();
    if (wide && !tall)
        tall = content.height() + scrollBar > room.height();
    if (tall && !wide)
        wide = content.width() + scrollBar > room.width();
    fit.scrolls = wide || tall;
    QSize client = content;
    if (fit.scrolls) {
        client.setWidth(std::max(kSmallestClient, std::min(content.width() + (tall ? scrollBar : 0), room.width())));
        client.setHeight(
            std::max(kSmallestClient, std::min(content.height() + (wide ? scrollBar : 0), room.height())));
    }
    fit.client = QRect(QPoint(centredStart(room.left(), room.width(), client.width()),
                              centredStart(room.top(), room.height(), client.height())),
                       client);
    return fit;
}

ScreenFit::ScreenFit(QWidget *window, QWidget *topBar) : QObject(window), m_window(window), m_topBar(topBar)
{
    window->installEventFilter(this);
}

QMargins ScreenFit::frame() const
{
    const QRect outer = m_window->frameGeometry();
    const QRect inner = m_window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

int ScreenFit::barHeight() const { return m_topBar ? m_topBar->height() : 0; }

bool ScreenFit::place()
{
    QScreen *screen = m_window->screen() ? m_window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    return place(screen->availableGeometry(), frame());
}

bool ScreenFit::place(QRect available, QMargins frame)
{
    m_placed = true;
    m_frame = frame;
    const QSize content = m_content ? m_content->size() + QSize(0, barHeight()) : m_window->size();
    const WindowFit fit =
        fitWindow(content, frame, available, m_window->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    if (!fit.scrolls && !m_area)
        return false;
    if (!m_area)
        wrap(content - QSize(0, barHeight()));
    m_window->setFixedSize(fit.client.size());
    m_area->setGeometry(m_window->rect().adjusted(0, barHeight(), 0, 0));
    if (m_topBar)
        m_topBar->setGeometry(0, 0, m_window->width(), barHeight());
    m_window->move(fit.client.topLeft() - QPoint(frame.left(), frame.top()));
    return true;
}

void ScreenFit::wrap(QSize content)
{
    // The controls to move, before the scroll area is one of the window's children.
    QList<QWidget *> controls;
    for (QWidget *child : m_window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow() && child != m_topBar)
            controls.append(child);

    m_area = new FitScrollArea(m_window);
    m_area->setObjectName(QStringLiteral("ScreenFitArea"));
    m_area->setFrameShape(QFrame::NoFrame);
    m_area->setFocusPolicy(Qt::NoFocus); // Tab goes from control to control, as without it
    m_area->setWidgetResizable(false);
    // The window paints its own background behind the controls, as before.
    m_area->viewport()->setAutoFillBackground(false);

    // Made inside the window, so that the controls stay in its keyboard order when they move.
    m_content = new QWidget(m_area->viewport());
    m_content->setObjectName(QStringLiteral("ScreenFitContent"));
    m_content->setFixedSize(content);
    for (QWidget *control : controls) {
        const QRect geometry = control->geometry().translated(0, -barHeight());
        const bool hidden = control->testAttribute(Qt::WA_WState_ExplicitShowHide) && control->isHidden();
        control->setParent(m_content);
        control->setGeometry(geometry);
        control->setVisible(!hidden);
    }
    m_area->setWidget(m_content);
    m_content->setAutoFillBackground(false);
    m_area->show();

    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && m_content->isAncestorOf(now))
            reveal(now);
    });
}

namespace {
// Scrolls a bar the least that shows start..end in a view of the given length, or shows the
// start when the whole does not fit.
void scrollToShow(QScrollBar *bar, int start, int end, int view)
{
    int value = bar->value();
    if (end - start > view || start < value)
        value = start;
    else if (end > value + view)
        value = end - view;
    bar->setValue(value); // the bar keeps it within its range
}
} // namespace

// Scrolls to the part of the control that can be seen at all: a control larger than the part of
// its parent that shows it (the page inside the preview's viewport) is revealed by that part.
void ScreenFit::reveal(QWidget *focus)
{
    QRect shown(focus->mapTo(m_content, QPoint(0, 0)), focus->size());
    for (QWidget *ancestor = focus->parentWidget(); ancestor && ancestor != m_content;
         ancestor = ancestor->parentWidget())
        shown &= QRect(ancestor->mapTo(m_content, QPoint(0, 0)), ancestor->size());
    if (shown.isEmpty())
        return;
    const QRect wanted = shown.marginsAdded({kRevealMargin, kRevealMargin, kRevealMargin, kRevealMargin});
    scrollToShow(m_area->horizontalScrollBar(), wanted.left(), wanted.right() + 1, m_area->viewport()->width());
    scrollToShow(m_area->verticalScrollBar(), wanted.top(), wanted.bottom() + 1, m_area->viewport()->height());
}

bool ScreenFit::eventFilter(QObject *watched, QEvent *event)
{
    // The window's frame is known only once the window is shown, and a window manager's only once
    // it has framed the window: fit again with it then, never because the user moved the window.
    if (watched == m_window && (event->type() == QEvent::Show || event->type() == QEvent::Move) && m_placed
        && m_window->isVisible() && frame() != m_frame)
        place();
    return QObject::eventFilter(watched, event);
}

} // namespace shell
