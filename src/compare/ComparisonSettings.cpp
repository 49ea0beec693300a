#include "ComparisonSettings.h"

#include "base/Failure.h"
#include "base/ReadAll.h"
#include "base/SafeWrite.h"
#include "record/IniText.h"
#include "record/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>

namespace compare {
namespace {

constexpr qint64 kLargest = 1024 * 1024;

// A folder's path as one key: no slash, which would start a section.
QString keyOf(const QString &folder)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(QDir::cleanPath(QFileInfo(folder).absoluteFilePath())));
}

} // namespace

QString ComparisonSettings::defaultPath() { return record::SettingsStore::stateFolder() + QStringLiteral("/applicants"); }

ComparisonSettings::ComparisonSettings(QString path) : m_path(std::move(path))
{
    const base::FileReading reading = base::readRegularFile(m_path, kLargest);
    if (reading.error == ENOENT)
        return;
    if (reading.error != 0) {
        m_problem = QStringLiteral("The settings of the Applicants window, %1, cannot be read: %2.")
                        .arg(m_path, base::readingFailureReason(reading.error, kLargest));
        return;
    }
    m_values = record::decodeIniText(reading.bytes).values;
}

QString ComparisonSettings::lastFolder() const { return m_values.value(QStringLiteral("Last/Folder")); }
void ComparisonSettings::setLastFolder(const QString &folder)
{
    m_values.insert(QStringLiteral("Last/Folder"), QFileInfo(folder).absoluteFilePath());
}

Terms ComparisonSettings::termsOf(const QString &folder) const
{
    Terms terms;
    bool ok = false;
    const double rent = m_values.value(QStringLiteral("Rent/") + keyOf(folder)).toDouble(&ok);
    if (ok && rent > 0)
        terms.monthlyRent = rent;
    const double minimum = m_values.value(QStringLiteral("Minimum/") + keyOf(folder)).toDouble(&ok);
    if (ok && minimum > 0)
        terms.minimumMultiple = minimum;
    return terms;
}

void ComparisonSettings::setTermsOf(const QString &folder, const Terms &terms)
{
    m_values.insert(QStringLiteral("Rent/") + keyOf(folder), QString::number(terms.monthlyRent, 'g', 12));
    m_values.insert(QStringLiteral("Minimum/") + keyOf(folder), QString::number(terms.minimumMultiple, 'g', 6));
}

QString ComparisonSettings::folderValue(const QString &name, const QString &folder) const
{
    return m_values.value(name + QLatin1Char('/') + keyOf(folder));
}

void ComparisonSettings::setFolderValue(const QString &name, const QString &folder, const QString &value)
{
    if (value.isEmpty())
        m_values.remove(name + QLatin1Char('/') + keyOf(folder));
    else
        m_values.insert(name + QLatin1Char('/') + keyOf(folder), value);
}

QByteArray ComparisonSettings::value(const QString &name) const
{
    return QByteArray::fromBase64(m_values.value(QStringLiteral("Window/") + name).toLatin1());
}

void ComparisonSettings::setValue(const QString &name, const QByteArray &bytes)
{
    m_values.insert(QStringLiteral("Window/") + name, QString::fromLatin1(bytes.toBase64()));
}

void ComparisonSettings::save()
{
    if (!m_problem.isEmpty())
        return; // never over a file that could not be read
    record::SettingsStore::writeStateFile(m_path, record::encodeIniText(m_values));
}

} // namespace compare
