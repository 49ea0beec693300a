#include "FirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace shell {
namespace {

// Watches the window until its first paint is over, then takes itself away.
class FirstPaintWatch final : public QObject {
public:
    FirstPaintWatch(QWidget *window, std::function<void()> work, std::function<void()> started)
        : QObject(window), m_work(std::move(work)), m_started(std::move(started))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painting) {
            m_painting = true;
            if (m_started)
                m_started();
            // Queued: runs once this paint and its flush to the display are done.
            QTimer::singleShot(0, this, [this] {
                parent()->removeEventFilter(this);
                deleteLater();
                m_work();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_work;
    std::function<void()> m_started;
    bool m_painting = false;
};

} // namespace

void afterFirstPaint(QWidget *window, std::function<void()> work, std::function<void()> started)
{
    if (window)
        window->installEventFilter(new FirstPaintWatch(window, std::move(work), std::move(started)));
}

} // namespace shell
