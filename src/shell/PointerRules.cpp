#include "PointerRules.h"

#include "runtime/AppError.h"
#include "CursorFile.h"

#include <QMouseEvent>
#include <QWidget>

namespace shell {
namespace {
constexpr char kZoneProperty[] = "tenvoriaPointerZone";
}

Pointer pointerAfterMove(Pointer current, PointerZone zone)
{
    if (current == Pointer::Busy)
        return current;
    return zone == PointerZone::Button ? Pointer::Custom : Pointer::Default;
}

WindowPointer::WindowPointer(QWidget *window) : QObject(window), m_window(window) {}

void WindowPointer::set(Pointer value)
{
    if (value == m_value)
        return;
    m_value = value;
    show();
}

void WindowPointer::setCustomCursor(const QCursor &cursor)
{
    m_custom = cursor;
    if (m_value == Pointer::Custom)
        show();
}

void WindowPointer::loadCustomCursor(const QString &path)
{
    const std::optional<CursorImage> cursor = readCursorFile(path);
    if (!cursor)
        throw runtime::AppError(QStringLiteral("The pointer file %1 could not be read.").arg(path));
    setCustomCursor(toCursor(*cursor));
}

void WindowPointer::show()
{
    switch (m_value) {
    case Pointer::Busy:
        m_window->setCursor(Qt::WaitCursor);
        break;
    case Pointer::Custom:
        m_window->setCursor(m_custom ? *m_custom : QCursor(Qt::PointingHandCursor));
        break;
    default:
        m_window->unsetCursor();
        break;
    }
}

void WindowPointer::watch(QWidget *control, PointerZone zone)
{
    control->setProperty(kZoneProperty, static_cast<int>(zone));
    control->setMouseTracking(true);
    control->installEventFilter(this);
}

bool WindowPointer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        auto *control = static_cast<QWidget *>(watched);
        const auto *move = static_cast<QMouseEvent *>(event);
        // Moves over a child reach its parent when the child ignores them; they are not the
        // parent's: a label inside a frame must not reset the pointer.
        if (!control->childAt(move->position().toPoint())) {
            const auto zone = static_cast<PointerZone>(control->property(kZoneProperty).toInt());
            set(pointerAfterMove(m_value, zone));
        }
    }
    return false;
}

} // namespace shell
