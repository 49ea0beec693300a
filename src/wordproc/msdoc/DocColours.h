#pragma once
// Colours and shading patterns as the .doc format stores them: COLORREF values, the sixteen
// colours of the old colour index (Ico) that Word 97 readers understand, and shading patterns.
#include <cstdint>
#include <optional>

namespace wordproc::doc {

// A model colour (automatic or red + 256 * green + 65536 * blue) is one the format can store.
bool isStorableColour(std::int32_t colour);

// COLORREF: red, green, blue bytes and 0xFF in the top byte for the automatic colour.
std::uint32_t colorRefOf(std::int32_t colour);
std::int32_t colourOfColorRef(std::uint32_t colorRef);

// The nearest of the sixteen indexed colours (0 = automatic) and back.
int nearestIco(std::int32_t colour);
std::int32_t colourOfIco(int ico);

// Shading patterns: the model keeps Word's texture numbers (tenths of a percent, negative for
// stripes and crosses, 0 none); the file keeps a pattern index (Ipat).
std::optional<int> ipatOfTexture(int texture);
std::optional<int> textureOfIpat(int ipat);

} // namespace wordproc::doc
