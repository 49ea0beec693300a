#include "IniText.h"

namespace shell {
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
            ++i; // a valid pair is UTF-8 like any other character
            escapeNextHexDigit = false;
            continue;
        }
        // A lone surrogate has no UTF-8 form; as an escape it comes back as it was.
        const bool special = ch < 0x20 || ch == '"' || ch == '\\' || QChar::isSurrogate(ch)
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
    QString currentSection;
    bool first = true;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const qsizetype slash = it.key().lastIndexOf(QLatin1Char('/'));
        const QString section = slash < 0 ? QStringLiteral("General") : it.key().left(slash);
        const QStringView key = slash < 0 ? QStringView(it.key()) : QStringView(it.key()).mid(slash + 1);
        if (first || section != currentSection) {
            if (!first)
                out += '\n';
            out += '[';
            appendKey(out, section);
            out += "]\n";
            currentSection = section;
            first = false;
        }
        appendKey(out, key);
        out += '=';
        appendValue(out, it.value());
        out += '\n';
    }
    return out;
}

} // namespace shell
