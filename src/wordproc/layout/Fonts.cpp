#include "wordproc/layout/Fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QRawFont>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <utility>

namespace wordproc::fonts {

namespace {

const QString kTahoma = QStringLiteral("Tahoma");

// Where distributions put Tahoma without registering it with fontconfig.
const char *const kTahomaFolders[] = {"/usr/share/wine/fonts", "/usr/share/fonts/wine"};
const char *const kTahomaFiles[] = {"tahoma.ttf", "tahomabd.ttf"};

// Metric-compatible (Liberation) or look-alike replacements, first installed one wins.
const std::pair<const char *, const char *> kSubstitutes[] = {
    {"Arial", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Times", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
    {"Tahoma", "DejaVu Sans"},
    {"Verdana", "DejaVu Sans"},
};

const QString kColourEmoji = QStringLiteral("Noto Color Emoji");

std::mutex cacheMutex;

int readInt16(const QByteArray &table, int offset)
{
    return qFromBigEndian<qint16>(table.constData() + offset);
}

int readUInt16(const QByteArray &table, int offset)
{
    return qFromBigEndian<quint16>(table.constData() + offset);
}

// The OS/2 and hhea tables do not depend on the size, so they are read from the face at the size
// the layout asks for (`pixelSize`, hinting off as layoutFont has it): the font engine that
// layout loads anyway then serves both, where a size of its own would load the face twice.
EmMetrics measureEmMetrics(const QString &family, bool bold, int pixelSize)
{
    QFont font(family);
    font.setBold(bold);
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QRawFont tables = QRawFont::fromFont(font);
    const QByteArray os2 = tables.isValid() ? tables.fontTable("OS/2") : QByteArray();
    const QByteArray hhea = tables.isValid() ? tables.fontTable("hhea") : QByteArray();
    const double unitsPerEm = tables.isValid() ? tables.unitsPerEm() : 0;
    EmMetrics metrics;
    if (os2.size() >= 78 && hhea.size() >= 10 && unitsPerEm > 0) {
        const int winAscent = readUInt16(os2, 74);
        const int winDescent = readUInt16(os2, 76);
        const int hheaAscent = readInt16(hhea, 4);
        const int hheaDescent = readInt16(hhea, 6);
        const int lineGap = readInt16(hhea, 8);
        if (winAscent + winDescent > 0) {
            // GDI's external leading: what hhea's line gap adds beyond the Windows extent.
            const int external = std::max(0, lineGap - ((winAscent + winDescent) - (hheaAscent - hheaDescent)));
            metrics.ascent = winAscent / unitsPerEm;
            metrics.descent = winDescent / unitsPerEm;
            metrics.leading = external / unitsPerEm;
            return metrics;
        }
    }
    // Not an OpenType font (or one without the tables): take what the font engine reports, at a
    // size large enough that its rounding to whole pixels does not show.
    QFont large(family);
    large.setBold(bold);
    large.setPixelSize(1000);
    const QRawFont raw = QRawFont::fromFont(large);
    if (!raw.isValid() || raw.pixelSize() <= 0)
        return metrics;
    metrics.ascent = raw.ascent() / raw.pixelSize();
    metrics.descent = raw.descent() / raw.pixelSize();
    metrics.leading = raw.leading() / raw.pixelSize();
    return metrics;
}

// Word's range of font sizes, 1 to 1638 pt; the model may hold anything.
int sizeInTwips(const CharFormat &format)
{
    return std::clamp(format.halfPoints, 2, 3276) * 10;
}

bool colourEmojiInstalled()
{
    static const bool installed = QFontDatabase::hasFamily(kColourEmoji);
    return installed;
}

} // namespace

void ensureRegistered()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (QFontDatabase::hasFamily(kTahoma))
            return;
        for (const char *folder : kTahomaFolders) {
            bool found = false;
            for (const char *file : kTahomaFiles) {
                const QString path = QString::fromLatin1(folder) + u'/' + QString::fromLatin1(file);
                if (QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0)
                    found = true;
            }
            if (found)
                return;
        }
    });
}

QString resolvedFamily(const QString &documentFamily)
{
    ensureRegistered();
    static std::map<QString, QString> resolved;
    {
        const std::lock_guard lock(cacheMutex);
        if (auto it = resolved.find(documentFamily); it != resolved.end())
            return it->second;
    }
    QString family = documentFamily;
    if (!QFontDatabase::hasFamily(documentFamily)) {
        for (const auto &[name, substitute] : kSubstitutes) {
            if (documentFamily.compare(QLatin1String(name), Qt::CaseInsensitive) == 0
                && QFontDatabase::hasFamily(QString::fromLatin1(substitute))) {
                family = QString::fromLatin1(substitute);
                break;
            }
        }
    }
    const std::lock_guard lock(cacheMutex);
    return resolved.emplace(documentFamily, family).first->second;
}

namespace {

EmMetrics cachedEmMetrics(const QString &family, bool bold, int pixelSize)
{
    static std::map<std::pair<QString, bool>, EmMetrics> measured;
    const auto key = std::make_pair(family, bold);
    {
        const std::lock_guard lock(cacheMutex);
        if (auto it = measured.find(key); it != measured.end())
            return it->second;
    }
    const EmMetrics metrics = measureEmMetrics(family, bold, pixelSize);
    const std::lock_guard lock(cacheMutex);
    return measured.emplace(key, metrics).first->second;
}

} // namespace

EmMetrics emMetrics(const QString &family, bool bold) { return cachedEmMetrics(family, bold, 1000); }

LineMetrics lineMetrics(const CharFormat &format)
{
    const int sizeTwips = sizeInTwips(format);
    const EmMetrics em = cachedEmMetrics(resolvedFamily(format.fontName), format.bold, sizeTwips);
    return LineMetrics{int(std::lround(em.leading * sizeTwips)), int(std::lround(em.ascent * sizeTwips)),
                       int(std::lround(em.descent * sizeTwips))};
}

QFont layoutFont(const CharFormat &format)
{
    QFont font;
    QStringList families{resolvedFamily(format.fontName)};
    if (colourEmojiInstalled())
        families.append(kColourEmoji);
    font.setFamilies(families);
    font.setPixelSize(sizeInTwips(format));
    font.setBold(format.bold);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace wordproc::fonts
