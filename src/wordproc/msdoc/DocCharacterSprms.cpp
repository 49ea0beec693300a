#include "wordproc/msdoc/DocCharacterSprms.h"

#include "wordproc/msdoc/DocColours.h"
#include "wordproc/msdoc/DocFormatConstants.h"
#include "wordproc/msdoc/DocSprms.h"

namespace wordproc::doc {

QByteArray encodeCharacterSprms(const CharFormat &format, const FontTable &fonts)
{
    ByteWriter out;
    const unsigned font = unsigned(fonts.indexOf(format.fontName));
    appendSprm(out, sprm::CRgFtc0, font);
    appendSprm(out, sprm::CRgFtc1, font);
    appendSprm(out, sprm::CRgFtc2, font);
    appendSprm(out, sprm::CFtcBi, font);
    appendSprm(out, sprm::CHps, unsigned(format.halfPoints));
    appendSprm(out, sprm::CHpsBi, unsigned(format.halfPoints));
    if (format.bold) {
        appendSprm(out, sprm::CFBold, 1);
        appendSprm(out, sprm::CFBoldBi, 1);
    }
    if (format.colour != kAutoColour) {
        // The indexed colour for readers that predate COLORREF, then the exact colour.
        appendSprm(out, sprm::CIco, unsigned(nearestIco(format.colour)));
        appendSprm(out, sprm::CCv, colorRefOf(format.colour));
    }
    return out.data();
}

void applyCharacterSprms(const QByteArray &grpprl, CharFormat &format, const FontTable &fonts)
{
    bool exactColour = false;
    for (const Sprm &sprm : parseSprms(grpprl)) {
        switch (sprm.id) {
        case sprm::CRgFtc0: format.fontName = fonts.nameAt(int(sprm.value())); break;
        case sprm::CHps:
            // Word ignores a size outside its range; keeping one would make the document unsavable.
            if (sprm.value() >= std::uint32_t(kMinHalfPoints) && sprm.value() <= std::uint32_t(kMaxHalfPoints))
                format.halfPoints = int(sprm.value());
            break;
        case sprm::CFBold: {
            const std::uint32_t value = sprm.value();
            if (value == 0x81) // the opposite of the style's value
                format.bold = !format.bold;
            else if (value != 0x80) // 0x80 keeps the style's value
                format.bold = value != 0;
            break;
        }
        case sprm::CIco:
            if (!exactColour)
                format.colour = colourOfIco(int(sprm.value()));
            break;
        case sprm::CCv:
            format.colour = colourOfColorRef(sprm.value());
            exactColour = true;
            break;
        default: break;
        }
    }
}

} // namespace wordproc::doc
