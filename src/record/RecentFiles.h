#pragma once
#include <QString>
#include <QStringList>

namespace record {

// The applicant files opened or saved last, newest first, kept outside the store in a file of
// their own (one path a line, owner-only: the names may be applicants' names). A list file that
// cannot be read is never written over; the list then lives for the run only.
class RecentFiles {
public:
    static constexpr int kKept = 8;

    // $XDG_STATE_HOME/tenvoria/recent, or ~/.local/state/tenvoria/recent.
    static QString defaultPath();

    explicit RecentFiles(QString path = defaultPath()) : m_path(std::move(path)) {}

    // Read from the list file each time, so that two running copies share it.
    QStringList paths();
    // Puts the file first; throws base::Failure when the list could not be written.
    void add(const QString &file);
    // Takes the file off the list (one that could not be opened); throws as add() does.
    void remove(const QString &file);

    const QString &filePath() const { return m_path; }

private:
    void save();

    QString m_path;
    QStringList m_paths;
    bool m_readable = true; // the list file was read completely, or there is none
};

} // namespace record
