#pragma once
// tenvoria-render run as a process, as a shell script runs it.
#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace testsupport {

struct Ran {
    int exitCode = -1;
    QByteArray out, err;
};

// Each run with a settings store of its own (none unless `configFolder` holds one), so that no run
// reads or guards the user's.
inline Ran render(const QStringList &arguments, const QByteArray &input = {}, const QString &configFolder = {})
{
    static QTemporaryDir noStore;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder.isEmpty() ? noStore.path() : configFolder);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TENVORIA_RENDER), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace testsupport
