#pragma once
class QWidget;

namespace shell {

// Where the start-up's time goes, for bench/startup-trace.sh and anyone measuring a slow start.
// With TENVORIA_STARTUP_TRACE set (to anything but 0), each mark prints one line to standard
// error: the wall-clock time in seconds (so that whoever started the process can count the time
// before main()), the milliseconds since the previous mark, and the phase just finished.
// Otherwise a mark costs one test of a flag.
void startupMark(const char *phase);

// Marks the window's first exposure (mapped, as the display server sees it) and the end of its
// first paint; nothing when tracing is off.
void traceFirstShow(QWidget *window);

} // namespace shell
