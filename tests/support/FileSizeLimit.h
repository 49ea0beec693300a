#pragma once
// A disk that fills up, without a small filesystem: `body` runs in a child process whose files
// may not grow beyond `limit` bytes, where a write past it fails with EFBIG ("File too large").
#include <csignal>
#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

// The child's exit code (body's answer), or -1 when it did not exit normally.
inline int exitCodeUnderFileSizeLimit(rlim_t limit, const std::function<int()> &body)
{
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of killing the process
        const rlimit fileSize{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0)
            ::_exit(125);
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace testsupport
