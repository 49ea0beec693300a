#pragma once
// Which built-in engine instances are running: those of this process (created and not yet quit)
// and, through a per-user lock file, whether another process runs any.
#include <QString>

#include <memory>

namespace wordproc {

struct EngineInstance;

// A share in this process's hold on the lock file at a path; the lock is released when the last
// share goes. When another process holds the lock, the share holds nothing and a later share
// tries again.
class EngineLock;
std::shared_ptr<EngineLock> shareEngineLock(const QString &lockFilePath);

// True when a live process other than this one holds the lock file; a lock left behind by a
// process that died is removed instead.
bool engineLockHeldElsewhere(const QString &lockFilePath);

void registerInstance(const std::shared_ptr<EngineInstance> &instance);
void unregisterInstance(const EngineInstance *instance);
std::shared_ptr<EngineInstance> anyRunningInstance();

} // namespace wordproc
