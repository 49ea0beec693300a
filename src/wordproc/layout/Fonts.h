#pragma once
// Fonts for laying out and drawing documents the way Word measures them, on a system that may not
// have Word's fonts installed.
#include "wordproc/model/DocumentModel.h"

#include <QFont>
#include <QString>

namespace wordproc::fonts {

// Makes Tahoma available to Qt where fontconfig does not list it (Debian's fonts-wine ships it
// outside the fontconfig paths). Idempotent and safe to call from any thread.
void ensureRegistered();

// The family Qt is asked for in place of a document's font name: the font itself when it is
// installed, otherwise a metric-compatible or look-alike substitute.
QString resolvedFamily(const QString &documentFamily);

// Vertical metrics the way Word takes them from a font (GDI text metrics): the OS/2 table's
// Windows ascent and descent, and the external leading hhea leaves beyond them; in ems.
struct EmMetrics {
    double ascent = 0.8;
    double descent = 0.2;
    double leading = 0.0;
};
EmMetrics emMetrics(const QString &resolvedFamily, bool bold);

// One line of text in a format, in twips. The leading sits above the ascent.
struct LineMetrics {
    int leading = 0;
    int ascent = 0;
    int descent = 0;
    int height() const { return leading + ascent + descent; }
    int baseline() const { return leading + ascent; }
};
LineMetrics lineMetrics(const CharFormat &format);

// The font text in this format is laid out with: one pixel is one twip, so every position a
// layout reports is in twips and does not depend on any screen or output resolution. Hinting
// and kerning are off (Word does not kern by default); characters the font lacks fall back
// to other installed fonts, emoji preferably to the colour emoji font.
QFont layoutFont(const CharFormat &format);

} // namespace wordproc::fonts
