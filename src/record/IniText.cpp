#include "IniText.h"

#include <algorithm>
#include <cstring>

namespace record {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// Keys and section names: letters, digits, '_', '-', '.' stay; everything else is %XX or %UXXXX.
void appendKey(QByteArray &out, QStringView key)
{
    for (const QChar c : key) {
        const char16_t ch = c.unicode();
        if (ch == '/') {
            out += '\\'; // QSettings' separator of nested groups
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_'
            || ch == '-' || ch == '.') {
            out += char(ch);
        } else if (ch <= 0xFF) {
            out += '%';
            out += kHex[ch >> 4];
            out += kHex[ch & 0xF];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += kHex[(ch >> shift) & 0xF];
        }
    }
}

bool isHexDigit(char16_t ch)
{
    return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

// Values are always quoted, so ',', ';', '=' and outer spaces need nothing more. A leading '@'
// is doubled, or QSettings would take the text for an encoded variant.
void appendValue(QByteArray &out, const QString &value)
{
    out += '"';
    if (value.startsWith(QLatin1Char('@')))
        out += '@';
    qsizetype runStart = 0;
    bool escapeNextHexDigit = false; // a \x escape swallows every hex digit that follows it
    const auto flush = [&](qsizetype end) {
        if (end > runStart)
            out += QStringView(value).mid(runStart, end - runStart).toUtf8();
    };
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t ch = value.at(i).unicode();
        if (QChar::isHighSurrogate(ch) && i + 1 < value.size() && QChar::isLowSurrogate(value.at(i + 1).unicode())) {
            escapeNextHexDigit = false;
            ++i; // a whole pair is plain text
            continue;
        }
        // A byte order mark would be dropped by a UTF-8 reader, and a lone surrogate has no UTF-8 form.
        const bool special = ch < 0x20 || ch == '"' || ch == '\\' || ch == 0xFEFF || QChar::isSurrogate(ch)
            || (escapeNextHexDigit && isHexDigit(ch));
        if (!special) {
            escapeNextHexDigit = false;
            continue;
        }
        flush(i);
        runStart = i + 1;
        escapeNextHexDigit = false;
        switch (ch) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            out += "\\x";
            out += QByteArray::number(ch, 16);
            escapeNextHexDigit = true;
        }
    }
    flush(value.size());
    out += '"';
}

} // namespace

QByteArray encodeIniText(const QMap<QString, QString> &values)
{
    QByteArray out;
    qsizetype total = 0;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        total += it.key().size() + it.value().size() + 8;
    out.reserve(total * 3 / 2);
    QByteArray currentHeader;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const qsizetype slash = it.key().lastIndexOf(QLatin1Char('/'));
        const QStringView key = slash < 0 ? QStringView(it.key()) : QStringView(it.key()).mid(slash + 1);
        QByteArray header = "[";
        if (slash < 0) {
            header += "General";
        } else {
            const QString section = it.key().left(slash);
            if (section.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0)
                header += '%';
            appendKey(header, section);
        }
        header += "]\n";
        if (header != currentHeader) {
            if (!currentHeader.isEmpty())
                out += '\n';
            out += header;
            currentHeader = header;
        }
        appendKey(out, key);
        out += '=';
        appendValue(out, it.value());
        out += '\n';
    }
    return out;
}

namespace {

int hexValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

// Section names and keys: %XX and %UXXXX escapes, '\' for QSettings' '/'.
QString decodeKey(QByteArrayView raw, bool &lossless)
{
    QString out;
    QByteArray run;
    const auto flush = [&] {
        out += QString::fromUtf8(run);
        run.clear();
    };
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char ch = raw[i];
        if (ch == '\\') {
            run += '/';
        } else if (ch == '%' && i + 5 < raw.size() + 0 && raw[i + 1] == 'U' && hexValue(raw[i + 2]) >= 0
                   && hexValue(raw[i + 3]) >= 0 && hexValue(raw[i + 4]) >= 0 && hexValue(raw[i + 5]) >= 0) {
            flush();
            out += QChar(char16_t((hexValue(raw[i + 2]) << 12) | (hexValue(raw[i + 3]) << 8)
                                  | (hexValue(raw[i + 4]) << 4) | hexValue(raw[i + 5])));
            i += 5;
        } else if (ch == '%' && i + 2 < raw.size() && hexValue(raw[i + 1]) >= 0 && hexValue(raw[i + 2]) >= 0) {
            flush();
            out += QChar(char16_t((hexValue(raw[i + 1]) << 4) | hexValue(raw[i + 2])));
            i += 2;
        } else {
            if (ch == '%')
                lossless = false;
            run += ch;
        }
    }
    flush();
    return out;
}

// A value as QSettings unescapes it: quoted and plain parts, C escapes, \x with any number of hex
// digits, octal escapes. An unquoted comma would make a list; the text is kept as it stands.
QString decodeValue(QByteArrayView raw, bool &lossless)
{
    raw = raw.trimmed();
    QString out;
    bool quoted = false;
    bool everQuoted = false;
    qsizetype i = 0;
    while (i < raw.size()) {
        const char ch = raw[i];
        if (ch == '"') {
            if (i != 0 && i != raw.size() - 1)
                lossless = false; // quotes inside a value: parts QSettings joins or lists
            quoted = !quoted;
            everQuoted = true;
            ++i;
        } else if (ch == '\\') {
            if (++i >= raw.size()) {
                lossless = false; // a continuation line
                break;
            }
            const char code = raw[i++];
            switch (code) {
            case 'a': out += QChar(u'\a'); break;
            case 'b': out += QChar(u'\b'); break;
            case 'f': out += QChar(u'\f'); break;
            case 'n': out += QChar(u'\n'); break;
            case 'r': out += QChar(u'\r'); break;
            case 't': out += QChar(u'\t'); break;
            case 'v': out += QChar(u'\v'); break;
            case '"': case '?': case '\'': case '\\': out += QLatin1Char(code); break;
            case 'x': {
                char16_t value = 0;
                while (i < raw.size() && hexValue(raw[i]) >= 0)
                    value = char16_t((value << 4) | hexValue(raw[i++]));
                out += QChar(value);
                break;
            }
            default:
                if (code >= '0' && code <= '7') {
                    char16_t value = char16_t(code - '0');
                    while (i < raw.size() && raw[i] >= '0' && raw[i] <= '7')
                        value = char16_t((value << 3) | (raw[i++] - '0'));
                    out += QChar(value);
                } else {
                    lossless = false; // QSettings skips an unknown escape; its character is kept here
                    out += QLatin1Char(code);
                }
            }
        } else {
            qsizetype end = i;
            while (end < raw.size() && raw[end] != '"' && raw[end] != '\\')
                ++end;
            const QByteArrayView plain = raw.sliced(i, end - i);
            if (!quoted && plain.contains(','))
                lossless = false;
            out += QString::fromUtf8(plain);
            i = end;
        }
    }
    if (quoted)
        lossless = false; // an unterminated quote: QSettings would read on into the next lines
    if (everQuoted && (raw.size() < 2 || raw.front() != '"' || raw.back() != '"'))
        lossless = false;
    // QSettings' encoded values: "@@" stands for "@", @String(...) for its text; other encodings
    // (variants, byte arrays, rectangles, ...) are kept as their raw text.
    if (out.startsWith(QLatin1Char('@'))) {
        if (out.startsWith(QLatin1String("@@"))) {
            out.remove(0, 1);
        } else if (out.startsWith(QLatin1String("@String(")) && out.endsWith(QLatin1Char(')'))) {
            out = out.mid(8, out.size() - 9);
        } else if (out.contains(QLatin1Char('(')) && out.endsWith(QLatin1Char(')'))) {
            lossless = false;
        }
    }
    return out;
}

// The name of the section a header line (trimmed, starting with '[') opens: "" for General.
QString sectionName(QByteArrayView line, bool &lossless)
{
    const qsizetype close = line.indexOf(']');
    if (close < 0 || close != line.size() - 1)
        lossless = false;
    const QByteArrayView name = line.sliced(1, (close < 0 ? line.size() : close) - 1).trimmed();
    if (QLatin1StringView(name.data(), name.size()).compare(QLatin1String("General"), Qt::CaseInsensitive) == 0)
        return QString();
    if (name.startsWith('%')
        && QLatin1StringView(name.data() + 1, name.size() - 1).compare(QLatin1String("General"), Qt::CaseInsensitive)
            == 0)
        return QString::fromLatin1(name.sliced(1));
    return decodeKey(name, lossless);
}

bool isIniSpace(char ch) { return ch == ' ' || ch == '\t' || ch == '\v' || ch == '\f'; }

} // namespace

QList<IniSectionSpan> iniSectionSpans(QByteArrayView text)
{
    QList<IniSectionSpan> spans;
    spans.append(IniSectionSpan{QString(), 0, 0, false});
    const char *const data = text.data();
    const qsizetype size = text.size();
    qsizetype at = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (at < size) {
        const qsizetype lineStart = at;
        while (at < size && isIniSpace(data[at]))
            ++at;
        const bool header = at < size && data[at] == '[';
        // Lines end at LF or CR, as for the reading of values.
        const void *lf = std::memchr(data + at, '\n', size_t(size - at));
        qsizetype end = lf ? static_cast<const char *>(lf) - data : size;
        if (const void *cr = std::memchr(data + at, '\r', size_t(end - at)))
            end = static_cast<const char *>(cr) - data;
        if (header) {
            bool lossless = true;
            spans.last().end = lineStart;
            spans.append(IniSectionSpan{sectionName(QByteArrayView(data + at, end - at).trimmed(), lossless),
                                        lineStart, 0, true});
        }
        at = std::min(end + 1, size);
    }
    spans.last().end = size;
    if (spans.size() > 1 && spans.first().end == 0)
        spans.removeFirst();
    return spans;
}

IniReading decodeIniText(const QByteArray &text)
{
    IniReading reading;
    if (QString::fromUtf8(text).toUtf8() != text)
        reading.lossless = false; // not UTF-8, or holding nulls or stray bytes
    QByteArrayView rest(text);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    QString section;
    while (!rest.isEmpty()) {
        qsizetype end = 0;
        while (end < rest.size() && rest[end] != '\n' && rest[end] != '\r')
            ++end;
        const QByteArrayView line = rest.first(end).trimmed();
        rest = rest.sliced(std::min(end + 1, rest.size()));
        if (line.isEmpty())
            continue;
        if (line.front() == ';' || line.front() == '#') {
            reading.lossless = false; // comments are not written back
            continue;
        }
        if (line.front() == '[') {
            section = sectionName(line, reading.lossless);
            if (!section.isEmpty())
                section += QLatin1Char('/');
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0) {
            reading.lossless = false; // a comment or a line that is no key
            continue;
        }
        const QString key = section + decodeKey(line.first(equals).trimmed(), reading.lossless);
        if (reading.values.contains(key))
            reading.lossless = false;
        reading.values.insert(key, decodeValue(line.sliced(equals + 1), reading.lossless));
    }
    return reading;
}

} // namespace record
