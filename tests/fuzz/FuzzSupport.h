#pragma once
// What every fuzz target shares: a Qt application for the code that needs one (fonts, images),
// and a way to stop at once on a finding, so that libFuzzer keeps the input.
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {

inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "tenvoria-fuzz";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Never destroyed: libFuzzer ends the process through exit(), after Qt's own thread
        // storage is gone, so a static application would crash in its destructor.
        static QGuiApplication *app = new QGuiApplication(argc, argv);
        (void)app;
    }
}

[[noreturn]] inline void finding(const char *what)
{
    std::fprintf(stderr, "FINDING: %s\n", what);
    std::abort();
}

} // namespace fuzzsupport
