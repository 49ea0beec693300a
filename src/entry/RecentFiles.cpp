#include "RecentFiles.h"

#include "base/SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace entry {

QString RecentFiles::defaultPath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/tenvoria/recent");
}

QStringList RecentFiles::paths()
{
    QFile file(m_path);
    if (!file.exists()) {
        m_readable = true;
        return m_paths;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        m_readable = false;
        return m_paths;
    }
    const QByteArray bytes = file.read(64 * 1024);
    m_readable = file.error() == QFileDevice::NoError;
    if (!m_readable)
        return m_paths;
    m_paths.clear();
    for (const QByteArray &line : bytes.split('\n'))
        if (!line.isEmpty() && m_paths.size() < kKept && !m_paths.contains(QString::fromUtf8(line)))
            m_paths.append(QString::fromUtf8(line));
    return m_paths;
}

void RecentFiles::add(const QString &file)
{
    paths();
    const QString path = QFileInfo(file).absoluteFilePath();
    m_paths.removeAll(path);
    m_paths.prepend(path);
    while (m_paths.size() > kKept)
        m_paths.removeLast();
    save();
}

void RecentFiles::remove(const QString &file)
{
    paths();
    if (m_paths.removeAll(QFileInfo(file).absoluteFilePath()) > 0)
        save();
}

void RecentFiles::save()
{
    if (!m_readable)
        return; // never over a list that could not be read
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        throw base::WriteFailure(m_path, QStringLiteral("its folder could not be made"));
    QByteArray text;
    for (const QString &path : m_paths)
        if (!path.contains(QLatin1Char('\n')))
            text += path.toUtf8() + '\n';
    base::replaceFile(m_path, text); // owner-only, checked
}

} // namespace entry
