#pragma once
// Just enough of the OpenType container to assemble a font from tables: the program builds a
// private copy of an installed font when Qt refuses the original for a script (see ScriptFonts).
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>

namespace wordproc::sfnt {

// The table or script tag spelled by four characters, e.g. "head".
constexpr std::uint32_t tag(const char *name)
{
    return std::uint32_t(std::uint8_t(name[0])) << 24 | std::uint32_t(std::uint8_t(name[1])) << 16
        | std::uint32_t(std::uint8_t(name[2])) << 8 | std::uint32_t(std::uint8_t(name[3]));
}

// A TrueType/OpenType file holding these tables (by tag), with a valid table directory, checksums
// and head.checkSumAdjustment.
QByteArray assemble(const std::map<std::uint32_t, QByteArray> &tables);

// The tables of a TrueType/OpenType file by tag; empty when the data is not one (or a collection).
std::map<std::uint32_t, QByteArray> tablesOf(const QByteArray &file);

// A GSUB table whose only script is `scriptTag` (e.g. "thaa"), with no features and no lookups:
// it substitutes nothing, but tells a shaper that the font is meant for the script.
QByteArray gsubNamingScript(std::uint32_t scriptTag);

// A 'name' table (Windows, Unicode, US English) giving the family, the subfamily "Regular", the
// full name and the PostScript name.
QByteArray nameTable(const QString &family);

} // namespace wordproc::sfnt
