#pragma once
#include <functional>

class QWidget;

namespace shell {

// Runs `work` once, when the window's first paint is over and its pixels are on their way to the
// display: the place for what the window need not wait for. `started`, when given, runs as that
// paint begins. Nothing runs if the window goes away first.
void afterFirstPaint(QWidget *window, std::function<void()> work, std::function<void()> started = {});

} // namespace shell
