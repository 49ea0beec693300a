#include "BuiltinInstances.h"

#include "BuiltinState.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>

#include <algorithm>
#include <mutex>
#include <vector>

namespace wordproc {

class EngineLock {
public:
    explicit EngineLock(const QString &path)
        : m_file(path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        // Held for as long as instances run, which can be hours: only a dead holder makes it stale.
        m_file.setStaleLockTime(0);
        m_held = m_file.tryLock(0);
    }
    ~EngineLock()
    {
        if (m_held)
            m_file.unlock();
    }
    EngineLock(const EngineLock &) = delete;
    EngineLock &operator=(const EngineLock &) = delete;
    bool held() const { return m_held; }

private:
    QLockFile m_file;
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
    QLockFile probe(lockFilePath);
    probe.setStaleLockTime(0);
    if (probe.tryLock(0)) {
        probe.unlock();
        return false;
    }
    return probe.error() == QLockFile::LockFailedError;
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
