#pragma once
#include <QString>
#include <memory>

class QSettings;

namespace shell {

// The program's only persistent memory: per-user string values addressed by application name,
// section and key, in Qt's native per-user settings (on Linux an INI file under the XDG config
// folder). Every write is durable and atomic before it returns, and the file is private to its
// owner because it holds social security numbers and dates of birth.
class SettingsStore {
public:
    static constexpr char kApplication[] = "Marrowick";
    static constexpr char kSection[] = "Tenvoria";

    // The current user's store for the given application name.
    static QString userStorePath(const QString &application = QString::fromLatin1(kApplication));

    explicit SettingsStore(const QString &filePath = userStorePath(),
                           const QString &section = QString::fromLatin1(kSection));
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    // The stored value, or the default when the key was never written.
    QString read(const QString &key, const QString &defaultValue = QString()) const;

    // Stores the value; throws AppError naming the file when it could not be saved.
    void write(const QString &key, const QString &value);

    const QString &filePath() const { return m_path; }

private:
    void makePrivate() const;
    void reopen();
    QString fullKey(const QString &key) const;

    QString m_path;
    QString m_section;
    std::unique_ptr<QSettings> m_settings;
    bool m_lastWriteFailed = false;
};

} // namespace shell
