#pragma once
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

#include <sys/stat.h>
#include <time.h>

namespace record {

// The program's only persistent memory: per-user string values addressed by application name,
// section and key, in Qt's native per-user settings (on Linux an INI file under the XDG config
// folder that QSettings reads). Every write is durable and atomic before it returns, and the
// file is private to its owner because it holds social security numbers and dates of birth.
// Several running copies share the file: each write merges into what is on disk at that moment.
// The file is read again only when it has changed, and always under the lock before a write.
// Only the store's own section is rewritten, where it stands; every other section keeps its bytes.
//
// The store never writes over a file it has not read completely: while the file cannot be read,
// writes are refused. A file whose own section holds what the store would not write back (comments,
// damaged lines, values QSettings reads as lists or variants) is copied to a dated owner-only backup
// beside it before the first write. A file that is a symbolic link stays one: its target is
// replaced.
class SettingsStore {
public:
    static constexpr char kApplication[] = "Marrowick";
    static constexpr char kSection[] = "Tenvoria";

    // The current user's store for the given application name.
    static QString userStorePath(const QString &application = QString::fromLatin1(kApplication));
    // The folder of the program's other per-user files, which are no settings and so stay out of the
    // store: $XDG_STATE_HOME/tenvoria, or ~/.local/state/tenvoria.
    static QString stateFolder();
    // Writes one of those files: its folder made when missing, the file replaced owner-only through
    // the checked replacement. Throws base::WriteFailure.
    static void writeStateFile(const QString &path, const QByteArray &bytes);

    // Reads the file, and removes temporary files that writes of this file interrupted by a crash
    // left beside it.
    explicit SettingsStore(const QString &filePath = userStorePath(),
                           const QString &section = QString::fromLatin1(kSection));

    // The stored value, or the default when the key was never written or the file cannot be read.
    QString read(const QString &key, const QString &defaultValue = QString());

    // Stores the value; throws base::Failure naming the file and the reason when it could not be saved.
    void write(const QString &key, const QString &value);
    // Stores several values in one durable write.
    void write(const QList<std::pair<QString, QString>> &values);

    const QString &filePath() const { return m_path; }

    // Why the file could not be read, or not made private, when the store was opened; empty when
    // it could. For the start-up report.
    const QString &openingProblem() const { return m_openingProblem; }
    // The dated backups beside the store ("<name>.backup-<date>-<time>"), which may hold applicants
    // in plain text, oldest first; links are none of them.
    QStringList backups() const;
    // Destroys one: its bytes overwritten with zeros and synced to disk, then its name removed. Only a
    // regular file is touched; a link is never followed. Throws base::Failure naming the cause.
    static void destroyBackup(const QString &path);

    // Messages for the user about backups made by writes since the last call.
    QStringList takeNotices() { return std::exchange(m_notices, {}); }

private:
    // What tells one state of the file from another without reading it.
    struct Identity {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified {};
        timespec changed {};
        // The file changed so shortly before it was examined that a later change could carry the
        // same times: its content must be read again before it is trusted.
        bool racy = true;
    };
    static Identity identityOf(const struct stat &status, const timespec &examinedAt);
    static bool same(const Identity &identity, const struct stat &status);

    bool reload(bool force = false);
    void adopt(QByteArray bytes);
    // Where the store's section lies in `bytes` (more than once in a file edited by hand).
    QList<std::pair<qsizetype, qsizetype>> sectionSpans(const QByteArray &bytes) const;
    QByteArray withSection(const QByteArray &section) const;
    void removeLeftoverTemporaryFiles() const;
    QString backUp(const QString &target) const;
    QString fullKey(const QString &key) const { return m_section + QLatin1Char('/') + key; }

    QString m_path;
    QString m_section;
    QMap<QString, QString> m_values; // every "Section/Key" of the store's own section
    QByteArray m_bytes;              // the file's content as last read or written
    QList<std::pair<qsizetype, qsizetype>> m_spans; // where the store's section lies in m_bytes
    bool m_present = false;          // the file existed then
    std::optional<Identity> m_identity; // of the file m_bytes was read from or written to
    bool m_lossless = true;          // writing m_values gives back everything its section holds
    QByteArray m_backedUp;           // the content last copied to a backup
    QString m_unreadable;            // why the file could not be read at the last attempt
    QString m_openingProblem;
    QStringList m_notices;
};

} // namespace record
