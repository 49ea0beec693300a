// Any keys and values written as INI text read back through QSettings to exactly the same strings.
// The input is UTF-16: pairs of key and value separated by U+0000.
#include "FuzzSupport.h"
#include "record/IniText.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzzsupport::ensureApplication();
    static QTemporaryDir folder;
    static int round = 0;
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(data), qsizetype(size / 2));
    const QStringList parts = text.split(QChar(0));
    QMap<QString, QString> values;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // The store's keys name fields: never empty, never a path of groups.
        if (parts[i].isEmpty() || parts[i].contains(QLatin1Char('/')) || parts[i].contains(QLatin1Char('\\')))
            continue;
        values.insert(QStringLiteral("Tenvoria/") + parts[i], parts[i + 1]);
    }
    // A new name each time: QSettings keeps what it read of a file by its name.
    const QString path = folder.filePath(QStringLiteral("store%1.ini").arg(round++));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(record::encodeIniText(values)) < 0)
            fuzzsupport::finding("could not write the scratch file");
    }
    QMap<QString, QString> readBack;
    {
        const QSettings settings(path, QSettings::IniFormat);
        for (const QString &key : settings.allKeys())
            readBack.insert(key, settings.value(key).toString());
    }
    QFile::remove(path);
    if (readBack != values)
        fuzzsupport::finding("INI text read back differently");
    return 0;
}
