#pragma once
// The style sheet (STSH, [MS-DOC] 2.9.271). The writer stores the Normal paragraph style, which
// carries the document's default character format, the fixed slots Word fills ("Default Paragraph
// Font", "Table Normal", "No List"), and one table style per table style name, based on "Table Normal";
// the reader keeps every style's name, kind, base style and property lists.
#include "wordproc/msdoc/DocBytes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace wordproc::doc {

inline constexpr int kNormalStyle = 0;
inline constexpr int kFirstTableStyle = 15; // after the fixed slots of the built-in styles

enum class StyleKind { None = 0, Paragraph = 1, Character = 2, Table = 3, List = 4 };

struct Style {
    StyleKind kind = StyleKind::None; // None: an unused slot
    QString name;
    int baseIstd = 0x0FFF;            // 0x0FFF: based on no style
    QByteArray paragraphSprms;        // without the istd
    QByteArray characterSprms;
};

struct StyleSheet {
    std::vector<Style> styles;
    int defaultFontIndex = 0;

    // normalCharacterSprms: the default character format; tableStyles get istd 15, 16, ...
    static QByteArray encode(const QByteArray &normalCharacterSprms, const QStringList &tableStyles);
    static StyleSheet decode(const ByteReader &tableStream, std::uint32_t fc, std::uint32_t lcb);

    // The style at istd, or nullptr when there is none.
    const Style *at(int istd) const;
};

} // namespace wordproc::doc
