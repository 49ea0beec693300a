// The preview window for those who do not use it with the left mouse button on a large screen:
// the page's keys and menu, its text for screen readers, and the window on a small screen.
#include "PreviewWindow.h"

#include "DocumentPages.h"
#include "PagePicture.h"
#include "Twips.h"

#include "shell/AppTitle.h"
#include "shell/ScreenFit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>

#include <limits>

namespace preview {
namespace {
// An arrow key scrolls about 20 pixels; Page Up and Down a viewport less that much, so that a
// line of the page stays in view.
constexpr std::int32_t kLineTwips = 20 * kTwipsPerPixel;
// Home and End: as far as the bar goes.
constexpr std::int32_t kWholeWay = std::numeric_limits<std::int32_t>::max() / 2;
// Where the menu opened from the keyboard stands, from the top-left of the page in view.
constexpr int kMenuIndent = 8;

void pressWith(QWidget *window, const QKeySequence &keys, QPushButton *button)
{
    auto *shortcut = new QShortcut(keys, window);
    QObject::connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
}
} // namespace

void PreviewWindow::setUpAccess()
{
    // The title stays the program's name; screen readers tell the two windows apart.
    setAccessibleName(QString::fromLatin1(shell::kProductName) + QStringLiteral(" \u2014 Preview"));
    describePage();

    // The buttons' keys, from anywhere in the window, doing exactly what the buttons do.
    pressWith(this, QKeySequence::ZoomIn, m_controls.zoomInButton);
    pressWith(this, QKeySequence(Qt::CTRL | Qt::Key_Equal), m_controls.zoomInButton); // + unshifted
    pressWith(this, QKeySequence::ZoomOut, m_controls.zoomOutButton);
    pressWith(this, QKeySequence::Save, m_controls.saveButton);

    // The page's menu opens on a right click, not on the press, so the right button drags too.
    m_controls.page->setContextMenuPolicy(Qt::PreventContextMenu);

    m_screenFit = new shell::ScreenFit(this);
}

bool PreviewWindow::pageKeyPress(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (event.key() == Qt::Key_Menu || (event.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        openPageMenu(keyboardMenuPoint());
        return true;
    }
    if (modifiers & (Qt::AltModifier | Qt::MetaModifier | Qt::ShiftModifier))
        return false; // free for shortcuts
    const std::int32_t page = std::max(kLineTwips, m_scroll.viewport().innerHeight - kLineTwips);
    switch (event.key()) {
    case Qt::Key_Left:
        m_scroll.scrollHorizontallyBy(-kLineTwips);
        break;
    case Qt::Key_Right:
        m_scroll.scrollHorizontallyBy(kLineTwips);
        break;
    case Qt::Key_Up:
        m_scroll.scrollVerticallyBy(-kLineTwips);
        break;
    case Qt::Key_Down:
        m_scroll.scrollVerticallyBy(kLineTwips);
        break;
    case Qt::Key_PageUp:
        m_scroll.scrollVerticallyBy(-page);
        break;
    case Qt::Key_PageDown:
        m_scroll.scrollVerticallyBy(page);
        break;
    case Qt::Key_Home:
        m_scroll.scrollVerticallyBy(-kWholeWay);
        break;
    case Qt::Key_End:
        m_scroll.scrollVerticallyBy(kWholeWay);
        break;
    default:
        return false;
    }
    showScrollState();
    return true;
}

void PreviewWindow::trackRightButton(const QEvent &event)
{
    switch (event.type()) {
    case QEvent::MouseButtonPress: {
        const auto &mouse = static_cast<const QMouseEvent &>(event);
        if (mouse.button() == Qt::RightButton) {
            m_rightHeld = true;
            m_rightDragged = false;
            m_rightPressedAt = mouse.globalPosition();
        }
        break;
    }
    case QEvent::MouseMove: {
        const auto &mouse = static_cast<const QMouseEvent &>(event);
        if (m_rightHeld
            && (mouse.globalPosition() - m_rightPressedAt).manhattanLength() >= QApplication::startDragDistance())
            m_rightDragged = true;
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto &mouse = static_cast<const QMouseEvent &>(event);
        if (mouse.button() == Qt::RightButton && m_rightHeld) {
            m_rightHeld = false;
            if (!m_rightDragged)
                openPageMenu(mouse.globalPosition().toPoint());
        }
        break;
    }
    default:
        break;
    }
}

bool PreviewWindow::pageContextMenu(const QContextMenuEvent &event)
{
    // The one that comes with the right button's press: its release decides.
    if (event.reason() == QContextMenuEvent::Mouse && m_rightHeld)
        return true;
    openPageMenu(event.reason() == QContextMenuEvent::Keyboard ? keyboardMenuPoint() : event.globalPos());
    return true;
}

void PreviewWindow::openPageMenu(const QPoint &globalPos)
{
    if (!m_pageMenu->isVisible())
        m_pageMenu->popup(globalPos);
}

QPoint PreviewWindow::keyboardMenuPoint() const
{
    const QRect shown = m_controls.page->geometry() & m_controls.viewportClient->rect();
    const QPoint corner = shown.isEmpty() ? QPoint(0, 0) : shown.topLeft();
    return m_controls.viewportClient->mapToGlobal(corner + QPoint(kMenuIndent, kMenuIndent));
}

// Screen readers read the page's text from its description: the page is a picture of the form,
// and its text comes from the document it shows.
void PreviewWindow::describePage()
{
    QString text;
    if (m_pages && !m_wordFile.isEmpty()) {
        try {
            text = m_pages->readingText(m_wordFile);
        } catch (const std::exception &) {
            // Said below, in the description itself: the page is there even when its text is not.
        }
    }
    m_controls.page->setAccessibleDescription(
        text.isEmpty() ? QStringLiteral("The page's text cannot be read.") : text);
}

} // namespace preview
