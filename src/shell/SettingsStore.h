#pragma once
#include <QList>
#include <QMap>
#include <QString>

#include <sys/types.h>
#include <utility>

namespace shell {

// The program's only persistent memory: per-user string values addressed by application name,
// section and key, in Qt's native per-user settings (on Linux an INI file under the XDG config
// folder that QSettings reads). Every write is durable and atomic before it returns, and the
// file is private to its owner because it holds social security numbers and dates of birth.
// Several running copies share the file: each write merges into what is on disk at that moment.
class SettingsStore {
public:
    static constexpr char kApplication[] = "Marrowick";
    static constexpr char kSection[] = "Tenvoria";

    // The current user's store for the given application name.
    static QString userStorePath(const QString &application = QString::fromLatin1(kApplication));

    explicit SettingsStore(const QString &filePath = userStorePath(),
                           const QString &section = QString::fromLatin1(kSection));

    // The stored value, or the default when the key was never written.
    QString read(const QString &key, const QString &defaultValue = QString());

    // Stores the value; throws AppError naming the file when it could not be saved.
    void write(const QString &key, const QString &value);
    // Stores several values in one durable write.
    void write(const QList<std::pair<QString, QString>> &values);

    const QString &filePath() const { return m_path; }

private:
    struct FileIdentity {
        ino_t inode = 0;
        off_t size = -1;
        qint64 mtimeNs = 0;
        bool operator==(const FileIdentity &) const = default;
    };
    FileIdentity identityOnDisk() const;
    void reloadIfChangedOnDisk();
    void tightenPermissions() const;
    QString fullKey(const QString &key) const { return m_section + QLatin1Char('/') + key; }

    QString m_path;
    QString m_section;
    QMap<QString, QString> m_values; // every "Section/Key" of the file as last read or written
    FileIdentity m_loaded;
};

} // namespace shell
