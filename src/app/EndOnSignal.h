#pragma once
#include <QObject>

#include <array>
#include <csignal>
#include <functional>

class QSocketNotifier;

namespace app {

inline constexpr std::array kEndingSignals{SIGTERM, SIGHUP, SIGINT};

// SIGTERM, SIGHUP and SIGINT end the program the way closing it does, instead of leaving the
// run's files behind. The handler only writes the signal's number into a pipe; the event loop
// (or any nested one: a modal box, a dialog) reads it, runs `closeDown`, and ends the process by
// the same signal with its default action, so that the parent sees the program ended by it (a
// shell shows 128 + its number, and a script stops on an interrupt).
//
// One at a time; the signals' earlier handling comes back when it is destroyed. Where they cannot
// be taken over, standard error says so and they end the program at once, as without it.
class EndOnSignal final : public QObject {
public:
    explicit EndOnSignal(std::function<void()> closeDown);
    ~EndOnSignal() override;

    EndOnSignal(const EndOnSignal &) = delete;
    EndOnSignal &operator=(const EndOnSignal &) = delete;

private:
    void signalled();

    std::function<void()> m_closeDown;
    QSocketNotifier *m_notifier = nullptr; // null when the signals could not be taken over
    std::array<bool, kEndingSignals.size()> m_handled{};
};

} // namespace app
