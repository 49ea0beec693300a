#pragma once
// Fonts for the world's scripts beyond what the document's own font covers. Qt picks fallback
// fonts for most scripts by itself; these helpers handle the cases where it cannot.
#include <QChar>
#include <QString>
#include <QStringList>

class QRawFont;

namespace wordproc::scriptfonts {

// The family of a font that a layout picked; empty for the stand-in Qt uses when no installed
// font covers a character. That stand-in draws boxes and has no family at all: asking it for one
// (QRawFont::familyName) crashes Qt 6.4.
QString familyOf(const QRawFont &font);

// Qt 6.4 shapes Syriac to Sinhala, Khmer and N'Ko only with a font whose GSUB table names the
// script, and draws boxes when no installed font has one. Where the installed fonts for such a
// script have no GSUB at all (Debian's Noto Sans Thaana), this answers the family of a private
// copy of one with a GSUB naming the script, registered with Qt at the first call; otherwise an
// empty string. Cached: the font is built at most once per process.
QString shapingFamilyFor(QChar::Script script);

// The family Qt lists for `family`: the family itself when it is installed, otherwise the family
// fontconfig settles on for the name ("Liberation Sans" for "Arial" where only its alias is
// installed), otherwise `family` unchanged. Asking Qt for a family it does not list makes it sort
// every installed face for a fallback before it finds that same font; windows ask for this one.
QString installedFamily(const QString &family);

// Lets the windows (fields, message boxes) show every script that needs such a copy: registers
// the copies and makes them substitutes for the windows' fonts, so that Qt finds them before it
// would try every installed font in turn. `windowFamilies` are the families of the windows' own
// font, besides the application font. Must run before any window lays out text: Qt draws
// text it shaped before a font was registered with the wrong glyphs.
void prepareWindowsForAllScripts(const QStringList &windowFamilies);

} // namespace wordproc::scriptfonts
