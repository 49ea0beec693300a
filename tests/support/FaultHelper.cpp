// A separate process that writes the settings store or saves a Word file, for the tests that need
// one: concurrent writers, writers killed at random moments, writes traced with strace, writes
// onto a full file system. Prints the error report and exits with 1 when a write is refused.
// It also prints the user's store path as the program works it out and as QSettings does, each
// in an environment of the test's choosing (QSettings reads that environment once per process).
#include "form/DocumentCopy.h"
#include "runtime/AppError.h"
#include "record/SettingsStore.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStringList>

#include <cstdio>

namespace {

int usage()
{
    std::fputs("usage: fault-helper keys STORE PREFIX COUNT | loop STORE KEYS | copy SOURCE TARGET | store-path\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args == QStringList{QStringLiteral("store-path")}) {
        // The program's answer first, and on its own: QSettings opens the file, and waits on a FIFO.
        std::printf("%s\n", qPrintable(record::SettingsStore::userStorePath()));
        std::fflush(stdout);
        std::printf("%s\n", qPrintable(QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                                 QString::fromLatin1(record::SettingsStore::kApplication))
                                           .fileName()));
        return 0;
    }
    if (args.size() != 3 && args.size() != 4)
        return usage();
    try {
        const QString &command = args[0];
        if (command == QLatin1String("keys") && args.size() == 4) {
            // COUNT writes of one key each, "<PREFIX><n>" = "value <n>".
            record::SettingsStore store(args[1]);
            const int count = args[3].toInt();
            for (int n = 0; n < count; ++n)
                store.write(args[2] + QString::number(n), QStringLiteral("value %1").arg(n));
        } else if (command == QLatin1String("loop") && args.size() == 3) {
            // Forever: every key "K<n>" = "generation <g>" in one write, g counting on from the
            // generation the store holds.
            record::SettingsStore store(args[1]);
            const int keys = args[2].toInt();
            const long first = store.read(QStringLiteral("K0")).mid(11).toLong() + 1;
            for (long generation = first;; ++generation) {
                QList<std::pair<QString, QString>> values;
                for (int n = 0; n < keys; ++n)
                    values.append({QStringLiteral("K%1").arg(n), QStringLiteral("generation %1").arg(generation)});
                store.write(values);
                if (generation == first) {
                    std::puts("ready");
                    std::fflush(stdout);
                }
            }
        } else if (command == QLatin1String("copy") && args.size() == 3) {
            form::copyFileReplacing(args[1], args[2]);
        } else {
            return usage();
        }
    } catch (const base::Failure &error) {
        std::fprintf(stdout, "%s\n", error.description().toUtf8().constData());
        return 1;
    }
    return 0;
}
