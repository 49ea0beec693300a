#pragma once
#include "ComparisonExport.h"

#include <QByteArray>
#include <QMap>
#include <QString>

namespace compare {

// What the Applicants window remembers between runs, in a file of its own beside the recent list
// (never in the store, never in an applicant's record), owner-only since it names folders: the
// folder last shown, each folder's rent and minimum multiple, the window's size, column widths and
// sort. A file that cannot be read is not written over; the settings then live for the run only.
class ComparisonSettings {
public:
    // $XDG_STATE_HOME/tenvoria/applicants, or ~/.local/state/tenvoria/applicants.
    static QString defaultPath();

    explicit ComparisonSettings(QString path = defaultPath());

    QString lastFolder() const;
    void setLastFolder(const QString &folder);
    Terms termsOf(const QString &folder) const; // rent 0 when none was typed, minimum 3 by default
    void setTermsOf(const QString &folder, const Terms &terms);
    // Other settings of a folder by name (the vacancy's particulars, its retention periods); empty
    // when none is kept. The name is a plain word, no slash.
    QString folderValue(const QString &name, const QString &folder) const;
    void setFolderValue(const QString &name, const QString &folder, const QString &value);
    QByteArray value(const QString &name) const; // the window's geometry and header state
    void setValue(const QString &name, const QByteArray &bytes);

    // Writes the settings; throws base::Failure naming the file when it cannot.
    void save();
    // Why the file could not be read, or empty.
    const QString &problem() const { return m_problem; }

private:
    QString m_path;
    QMap<QString, QString> m_values; // "Section/Key"
    QString m_problem;
};

} // namespace compare
