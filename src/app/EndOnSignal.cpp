#include "EndOnSignal.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace app {
namespace {

int g_pipe[2] = {-1, -1};
struct sigaction g_previous[kEndingSignals.size()];

// Runs on whichever thread the signal reaches: nothing but write(2), which is safe there. A full
// pipe already holds a signal the loop has not read yet, so a lost byte loses nothing.
void onSignal(int signal)
{
    const int saved = errno;
    const char number = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1);
    errno = saved;
}

void warn(const char *what)
{
    std::fprintf(stderr, "Tenvoria: %s: %s; the signals keep ending the program at once.\n", what, std::strerror(errno));
}

} // namespace

EndOnSignal::EndOnSignal(std::function<void()> closeDown) : m_closeDown(std::move(closeDown))
{
    if (g_pipe[0] >= 0) {
        errno = EBUSY;
        warn("the signal handling is set up already");
        return;
    }
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        warn("the signal pipe could not be made");
        g_pipe[0] = g_pipe[1] = -1;
        return;
    }
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &EndOnSignal::signalled);
    struct sigaction action {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESTART; // the program's own calls go on undisturbed
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < kEndingSignals.size(); ++i) {
        if (::sigaction(kEndingSignals[i], &action, &g_previous[i]) == 0) {
            m_handled[i] = true;
        } else {
            warn("a signal could not be handled");
        }
    }
}

EndOnSignal::~EndOnSignal()
{
    if (!m_notifier)
        return; // never set up
    for (size_t i = 0; i < kEndingSignals.size(); ++i)
        if (m_handled[i] && ::sigaction(kEndingSignals[i], &g_previous[i], nullptr) != 0)
            warn("a signal's handling could not be restored");
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void EndOnSignal::signalled()
{
    char number = 0;
    if (::read(g_pipe[0], &number, 1) != 1)
        return; // nothing there after all (EAGAIN): the notifier fires again for the next byte
    m_notifier->setEnabled(false); // the close-down may run nested event loops
    const int signal = number;
    try {
        if (m_closeDown)
            m_closeDown();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "Tenvoria: %s\n", error.what()); // the end goes on: the signal asked for it
    }
    std::fflush(nullptr);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    if (::sigaction(signal, &byDefault, nullptr) == 0 && ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr) == 0)
        ::raise(signal);
    // Still here: the signal could not end the process; the shell's convention says the same.
    ::_exit(128 + signal);
}

} // namespace app
