#pragma once
#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>

class QScrollArea;
class QWidget;

namespace shell {

// Where a window of a fixed client size goes on a screen.
struct WindowFit {
    bool scrolls = false; // the content is larger than the room and scrolls inside the window
    QRect client;         // the window's client area, in screen coordinates
};

// content: the window's designed client size; frame: the window frame around the client;
// available: the screen's area for windows; scrollBar: a scroll bar's thickness. A window that
// fits keeps its size and is centred. One that does not gets the room there is, centred where it
// is smaller than the room, with a scroll bar for each direction its content overflows (a bar
// takes room from the other direction, which may then overflow too).
WindowFit fitWindow(QSize content, QMargins frame, QRect available, int scrollBar);

// Keeps a fixed-size window usable on a screen smaller than it (a small screen, or a large scale
// factor): when the window does not fit the screen's available area, its controls move, at their
// designed positions, into a scroll area that fills the window, the window takes the room there
// is, and every change of keyboard focus scrolls the focused control into view. A window that
// fits is left exactly as it is.
//
// A bar across the window's top (its menu bar) stays there: only what lies below it scrolls.
class ScreenFit final : public QObject {
public:
    explicit ScreenFit(QWidget *window, QWidget *topBar = nullptr);

    // Fits the window to its screen. False, with nothing changed, when it fits as designed: the
    // caller then places it as usual. True when the window was placed and made scrollable.
    bool place();
    bool place(QRect available, QMargins frame);

    // The scroll area the window's controls live in, once the window did not fit; null before.
    QScrollArea *scrollArea() const { return m_area; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void wrap(QSize content);
    void reveal(QWidget *focus);
    QMargins frame() const;

    int barHeight() const;

    QWidget *m_window;
    QWidget *m_topBar;
    QScrollArea *m_area = nullptr;
    QWidget *m_content = nullptr;
    QMargins m_frame;
    bool m_placed = false;
};

} // namespace shell
