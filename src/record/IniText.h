#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QMap>
#include <QString>

namespace record {

// Writes "Section/Key" -> value pairs as an INI file that QSettings reads back to exactly the same
// strings. QSettings' own writer converts every character separately, which makes a 1 MB value
// cost tens of milliseconds on each keystroke; this one copies plain runs in one go. Keys without
// a section go to [General], as QSettings keeps them; a section really named General is written
// as [%General], QSettings' way of telling the two apart.
QByteArray encodeIniText(const QMap<QString, QString> &values);

// What an INI file holds as QSettings reads it, as strings.
struct IniReading {
    QMap<QString, QString> values;
    // False when the text holds something that encodeIniText() would not give back: comments,
    // lines that are no section and no key, lists, encoded variants, broken quotes or escapes,
    // keys given twice, bytes that are not UTF-8. Such values are kept as their raw text.
    bool lossless = true;
};
IniReading decodeIniText(const QByteArray &text);

// Where one section of an INI file lies: from the start of its header line up to the start of the
// next header line (or the end), so that the spans of a file cover it without gaps. `name` is the
// section as QSettings names it ("" for [General], "General" for [%General]). Text before the
// first header is a span of its own, with no header: name "", `headed` false.
struct IniSectionSpan {
    QString name;
    qsizetype begin = 0;
    qsizetype end = 0;
    bool headed = true;
};
// Finds the headers only: the keys and values of the sections are not decoded, so that a large
// file of other programs' sections costs one pass over its bytes.
QList<IniSectionSpan> iniSectionSpans(QByteArrayView text);

} // namespace record
