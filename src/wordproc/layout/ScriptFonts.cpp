#include "wordproc/layout/ScriptFonts.h"

#include "wordproc/layout/SfntTables.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QRawFont>

#include <fontconfig/fontconfig.h>

#include <map>
#include <mutex>

namespace wordproc::scriptfonts {

namespace {

// Whether Qt lists the family itself. QFontDatabase::hasFamily() first runs the name through
// fontconfig's substitution rules, a millisecond's work, to answer for aliases too.
bool isListed(const QString &family)
{
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// The family fontconfig gives for a name it knows only as an alias ("Liberation Sans" for
// "Arial"): its best match, the family Qt's own matching settles on, without the font engine
// and the sort of every installed face that asking Qt (QFontInfo) costs at start-up. Empty when
// nothing matches.
QString fontconfigFamily(const QString &family)
{
    FcPattern *pattern = FcPatternCreate();
    if (!pattern)
        return {};
    const QByteArray name = family.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    QString aliased;
    FcChar8 *value = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch)
        aliased = QString::fromUtf8(reinterpret_cast<const char *>(value));
    if (match)
        FcPatternDestroy(match);
    return aliased;
}

// Scripts whose installed fonts Qt refuses for want of a GSUB table, with the OpenType script tag
// the copy's GSUB names, the fonts to copy from (first installed one wins) and the copy's family.
struct ShapingCopy {
    QChar::Script script;
    std::uint32_t scriptTag;
    QFontDatabase::WritingSystem writingSystem;
    const char *preferredSource;
    const char *sourceFile; // where Debian installs it: read directly, Qt's font list untouched
    const char *family;
};

const ShapingCopy kShapingCopies[] = {
    {QChar::Script_Thaana, sfnt::tag("thaa"), QFontDatabase::Thaana, "Noto Sans Thaana",
     "/usr/share/fonts/truetype/noto/NotoSansThaana-Regular.ttf", "Tenvoria Thaana"},
};

// The tables of a TrueType or CFF font that drawing and shaping use; 'name' and 'GSUB' are made anew.
const std::uint32_t kCopiedTables[] = {
    sfnt::tag("head"), sfnt::tag("hhea"), sfnt::tag("maxp"), sfnt::tag("OS/2"), sfnt::tag("hmtx"),
    sfnt::tag("cmap"), sfnt::tag("loca"), sfnt::tag("glyf"), sfnt::tag("CFF "), sfnt::tag("post"),
    sfnt::tag("cvt "), sfnt::tag("fpgm"), sfnt::tag("prep"), sfnt::tag("gasp"), sfnt::tag("GDEF"),
    sfnt::tag("GPOS"), sfnt::tag("kern"), sfnt::tag("vhea"), sfnt::tag("vmtx"),
};

QByteArray tableOf(const QRawFont &font, std::uint32_t tag)
{
    const char name[4] = {char(tag >> 24), char(tag >> 16), char(tag >> 8), char(tag)};
    return font.fontTable(name);
}

QString sourceFamily(const ShapingCopy &copy)
{
    const QString preferred = QString::fromLatin1(copy.preferredSource);
    if (QFontDatabase::hasFamily(preferred))
        return preferred;
    const QStringList families = QFontDatabase::families(copy.writingSystem);
    return families.isEmpty() ? QString() : families.first();
}

// The source font's tables from its file. Reading the file keeps Qt from building its list of
// installed fonts here, which registering the copy would throw away again.
std::map<std::uint32_t, QByteArray> tablesFromFile(const ShapingCopy &copy)
{
    QFile file(QString::fromLatin1(copy.sourceFile));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    std::map<std::uint32_t, QByteArray> all = sfnt::tablesOf(file.readAll());
    std::map<std::uint32_t, QByteArray> tables;
    if (all.count(sfnt::tag("GSUB")))
        return {};
    for (std::uint32_t tag : kCopiedTables)
        if (auto it = all.find(tag); it != all.end())
            tables.insert(*it);
    return tables;
}

// The source font's tables through Qt, for systems that keep the font elsewhere.
std::map<std::uint32_t, QByteArray> tablesFromInstalledFont(const ShapingCopy &copy)
{
    const QString source = sourceFamily(copy);
    if (source.isEmpty())
        return {};
    QFont font(source);
    font.setPixelSize(100);
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid() || !tableOf(raw, sfnt::tag("GSUB")).isEmpty())
        return {}; // a GSUB of its own that lacks the script cannot be mended without losing its rules
    std::map<std::uint32_t, QByteArray> tables;
    for (std::uint32_t tag : kCopiedTables)
        if (QByteArray table = tableOf(raw, tag); !table.isEmpty())
            tables.emplace(tag, std::move(table));
    return tables;
}

// Builds and registers the copy; empty when there is nothing to copy or the copy would not help.
QString registerCopy(const ShapingCopy &copy)
{
    std::map<std::uint32_t, QByteArray> tables = tablesFromFile(copy);
    if (tables.empty())
        tables = tablesFromInstalledFont(copy);
    if (!tables.count(sfnt::tag("head")) || !tables.count(sfnt::tag("cmap")))
        return {};
    const QString family = QString::fromLatin1(copy.family);
    tables[sfnt::tag("name")] = sfnt::nameTable(family);
    tables[sfnt::tag("GSUB")] = sfnt::gsubNamingScript(copy.scriptTag);
    const int id = QFontDatabase::addApplicationFontFromData(sfnt::assemble(tables));
    const QStringList registered = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    return registered.isEmpty() ? QString() : registered.first();
}

// Makes the copy for one script a substitute for the windows' fonts, once.
void substituteForWindows(QChar::Script script, const QStringList &windowFamilies)
{
    static std::mutex mutex;
    static std::map<QChar::Script, bool> done;
    const QString copy = shapingFamilyFor(script);
    const std::lock_guard lock(mutex);
    if (copy.isEmpty() || done[script])
        return;
    done[script] = true;
    QStringList families = QGuiApplication::font().families();
    families += windowFamilies;
    for (const QString &family : families) {
        if (QFont::substitutes(family).contains(copy))
            continue;
        // A family known only through fontconfig's aliases ("Arial" for Liberation Sans) would,
        // once it has a substitute, be matched to that substitute and then to Qt's default font:
        // the font the alias gives comes first.
        if (QFont::substitutes(family).isEmpty() && !isListed(family)) {
            const QString aliased = fontconfigFamily(family);
            if (!aliased.isEmpty() && aliased != family)
                QFont::insertSubstitution(family, aliased);
        }
        QFont::insertSubstitution(family, copy);
    }
}

} // namespace

QString familyOf(const QRawFont &font)
{
    // Every real OpenType font has a 'head' table; the stand-in has no tables at all.
    if (!font.isValid() || font.fontTable("head").isEmpty())
        return {};
    return font.familyName();
}

QString shapingFamilyFor(QChar::Script script)
{
    static std::mutex mutex;
    static std::map<QChar::Script, QString> registered;
    for (const ShapingCopy &copy : kShapingCopies) {
        if (copy.script != script)
            continue;
        const std::lock_guard lock(mutex);
        auto it = registered.find(script);
        if (it == registered.end())
            it = registered.emplace(script, registerCopy(copy)).first;
        return it->second;
    }
    return {};
}

QString installedFamily(const QString &family)
{
    if (family.isEmpty() || isListed(family))
        return family;
    const QString matched = fontconfigFamily(family);
    return matched.isEmpty() ? family : matched;
}

void prepareWindowsForAllScripts(const QStringList &windowFamilies)
{
    for (const ShapingCopy &copy : kShapingCopies)
        substituteForWindows(copy.script, windowFamilies);
}

} // namespace wordproc::scriptfonts
