#include "StartupTrace.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtGlobal>

#include <cstdio>
#include <ctime>

namespace shell {
namespace {

bool tracing()
{
    static const bool on = qEnvironmentVariableIsSet("TENVORIA_STARTUP_TRACE")
        && qgetenv("TENVORIA_STARTUP_TRACE") != "0";
    return on;
}

double now()
{
    timespec t{};
    if (clock_gettime(CLOCK_REALTIME, &t) != 0)
        return 0;
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Watches the window until its first paint is over, then takes itself away.
class FirstShowWatch final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painting) {
            m_painting = true;
            startupMark("window mapped and exposed, first paint starts");
            // Queued: runs once the paint and the flush to the display are done.
            QTimer::singleShot(0, this, [this] {
                startupMark("first paint done");
                deleteLater();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_painting = false;
};

} // namespace

// Kept out of line: profilers (callgrind --dump-before=*startupMark*) cut the start-up at the marks.
Q_NEVER_INLINE void startupMark(const char *phase)
{
    if (!tracing())
        return;
    static double previous = 0;
    const double t = now();
    std::fprintf(stderr, "tenvoria start-up: %.6f %+8.2f ms %s\n", t, previous ? (t - previous) * 1e3 : 0.0, phase);
    previous = t;
}

void traceFirstShow(QWidget *window)
{
    if (!tracing() || !window)
        return;
    window->installEventFilter(new FirstShowWatch(window));
}

} // namespace shell
