#include "wordproc/engine/BuiltinInstances.h"

#include "wordproc/engine/BuiltinState.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace wordproc {

// A shared flock on the per-user lock file while instances of this process run. The kernel drops
// it when the process ends, however it ends, so a lock is never stale; taking it writes nothing.
class EngineLock {
public:
    explicit EngineLock(const QString &path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        m_held = m_fd >= 0 && ::flock(m_fd, LOCK_SH | LOCK_NB) == 0;
    }
    ~EngineLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // releases the lock
    }
    EngineLock(const EngineLock &) = delete;
    EngineLock &operator=(const EngineLock &) = delete;
    bool held() const { return m_held; }

private:
    int m_fd = -1;
    bool m_held = false;
};

namespace {

std::mutex g_mutex;
std::vector<std::shared_ptr<EngineInstance>> g_running;
QHash<QString, std::weak_ptr<EngineLock>> g_locks;

} // namespace

std::shared_ptr<EngineLock> shareEngineLock(const QString &lockFilePath)
{
    const std::lock_guard guard(g_mutex);
    if (auto existing = g_locks.value(lockFilePath).lock(); existing && existing->held())
        return existing;
    auto lock = std::make_shared<EngineLock>(lockFilePath);
    g_locks.insert(lockFilePath, lock);
    return lock;
}

bool engineLockHeldElsewhere(const QString &lockFilePath)
{
    {
        const std::lock_guard guard(g_mutex);
        if (auto ours = g_locks.value(lockFilePath).lock(); ours && ours->held())
            return false;
    }
    const int fd = ::open(QFile::encodeName(lockFilePath).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false; // nobody ever ran an engine here
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

void registerInstance(const std::shared_ptr<EngineInstance> &instance)
{
    const std::lock_guard guard(g_mutex);
    g_running.push_back(instance);
}

void unregisterInstance(const EngineInstance *instance)
{
    const std::lock_guard guard(g_mutex);
    std::erase_if(g_running, [&](const auto &running) { return running.get() == instance; });
}

std::shared_ptr<EngineInstance> anyRunningInstance()
{
    const std::lock_guard guard(g_mutex);
    return g_running.empty() ? nullptr : g_running.front();
}

} // namespace wordproc
