#include "RecentFiles.h"

#include "base/ReadAll.h"
#include "base/SafeWrite.h"
#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>

namespace record {

QString RecentFiles::defaultPath() { return SettingsStore::stateFolder() + QStringLiteral("/recent"); }

namespace {

// Eight paths; a list far longer is not ours and is not read into memory.
constexpr qint64 kLargestList = 256 * 1024;

// Only what add() writes: an absolute path in UTF-8 without control characters. Anything else in
// a damaged list would show as junk in the menu.
bool isListedPath(const QByteArray &line, QString &path)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    path = utf8.decode(line);
    if (utf8.hasError() || !QDir::isAbsolutePath(path))
        return false;
    return std::none_of(path.cbegin(), path.cend(), [](QChar ch) { return ch.category() == QChar::Other_Control; });
}

} // namespace

QStringList RecentFiles::paths()
{
    const base::FileReading reading = base::readRegularFile(m_path, kLargestList);
    if (reading.error == ENOENT) {
        m_readable = true;
        return m_paths;
    }
    m_readable = reading.error == 0;
    if (!m_readable)
        return m_paths;
    m_paths.clear();
    for (const QByteArray &line : reading.bytes.split('\n')) {
        QString path;
        if (m_paths.size() < kKept && isListedPath(line, path) && !m_paths.contains(path))
            m_paths.append(path);
    }
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
    QByteArray text;
    for (const QString &path : m_paths)
        if (!path.contains(QLatin1Char('\n')))
            text += path.toUtf8() + '\n';
    SettingsStore::writeStateFile(m_path, text);
}

} // namespace record
