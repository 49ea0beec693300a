#pragma once
// The font table (SttbfFfn, [MS-DOC] 2.9.286): every font the document names, referred to by
// index from the character properties.
#include "wordproc/msdoc/DocBytes.h"

#include <QString>
#include <QStringList>

namespace wordproc::doc {

class FontTable {
public:
    // The fonts every Word document lists first: Times New Roman (index 0, the default font),
    // Symbol and Arial, then Tahoma.
    static FontTable withStandardFonts();

    // The index of the font, added at the end when it is new.
    int add(const QString &name);
    int indexOf(const QString &name) const { return int(m_names.indexOf(name)); }
    // Throws base::Failure when the index names no font.
    const QString &nameAt(int index) const;
    int size() const { return int(m_names.size()); }

    QByteArray encode() const;
    static FontTable decode(const ByteReader &tableStream, std::uint32_t fc, std::uint32_t lcb);

private:
    QStringList m_names;
};

} // namespace wordproc::doc
