#include "StartupTrace.h"

#include "FirstPaint.h"

#include <QByteArray>
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
    afterFirstPaint(
        window, [] { startupMark("first paint done"); },
        [] { startupMark("window mapped and exposed, first paint starts"); });
}

} // namespace shell
