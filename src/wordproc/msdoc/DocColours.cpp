#include "wordproc/msdoc/DocColours.h"

#include "wordproc/model/DocumentModel.h"

#include <array>
#include <limits>

namespace wordproc::doc {

namespace {

struct Rgb {
    int red, green, blue;
};

// Index 0 is the automatic colour and has no RGB value.
constexpr std::array<Rgb, 17> kIcoColours{{
    {0, 0, 0},       {0, 0, 0},     {0, 0, 255},   {0, 255, 255}, {0, 255, 0},     {255, 0, 255},
    {255, 0, 0},     {255, 255, 0}, {255, 255, 255}, {0, 0, 128}, {0, 128, 128},   {0, 128, 0},
    {128, 0, 128},   {128, 0, 0},   {128, 128, 0}, {128, 128, 128}, {192, 192, 192},
}};

// Percentage patterns in steps of 2.5 % that Word added after the first 25 patterns, in Ipat order
// from index 35.
constexpr std::array<int, 27> kFinePercentTextures{25,  75,  125, 150, 175, 225, 275, 325, 350,
                                                   375, 425, 450, 475, 525, 550, 575, 625, 650,
                                                   675, 725, 775, 825, 850, 875, 925, 950, 975};
constexpr int kFirstFinePercentIpat = 35;

// Ipat 2 to 13 in order.
constexpr std::array<int, 12> kPercentTextures{50, 100, 200, 250, 300, 400, 500, 600, 700, 750, 800, 900};

constexpr int kSolidTexture = 1000;

} // namespace

bool isStorableColour(std::int32_t colour)
{
    return colour == kAutoColour || (colour >= 0 && colour <= 0xFFFFFF);
}

std::uint32_t colorRefOf(std::int32_t colour)
{
    return colour == kAutoColour ? 0xFF000000u : std::uint32_t(colour) & 0xFFFFFFu;
}

std::int32_t colourOfColorRef(std::uint32_t colorRef)
{
    return (colorRef >> 24) == 0xFF ? kAutoColour : std::int32_t(colorRef & 0xFFFFFFu);
}

int nearestIco(std::int32_t colour)
{
    if (colour == kAutoColour)
        return 0;
    const int red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    int best = 1;
    int bestDistance = std::numeric_limits<int>::max();
    for (int ico = 1; ico < int(kIcoColours.size()); ++ico) {
        const Rgb &c = kIcoColours[ico];
        const int distance = (c.red - red) * (c.red - red) + (c.green - green) * (c.green - green)
                             + (c.blue - blue) * (c.blue - blue);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = ico;
        }
    }
    return best;
}

std::int32_t colourOfIco(int ico)
{
    if (ico <= 0 || ico >= int(kIcoColours.size()))
        return kAutoColour;
    const Rgb &c = kIcoColours[ico];
    return c.red + 256 * c.green + 65536 * c.blue;
}

std::optional<int> ipatOfTexture(int texture)
{
    if (texture == 0)
        return 0;
    if (texture == kSolidTexture)
        return 1;
    if (texture >= -12 && texture <= -1)
        return 13 - texture; // dark horizontal (-1) is pattern 14, diagonal cross (-12) pattern 25
    for (int i = 0; i < int(kPercentTextures.size()); ++i)
        if (kPercentTextures[i] == texture)
            return 2 + i;
    for (int i = 0; i < int(kFinePercentTextures.size()); ++i)
        if (kFinePercentTextures[i] == texture)
            return kFirstFinePercentIpat + i;
    return std::nullopt;
}

std::optional<int> textureOfIpat(int ipat)
{
    if (ipat == 0)
        return 0;
    if (ipat == 1)
        return kSolidTexture;
    if (ipat >= 2 && ipat <= 13)
        return kPercentTextures[ipat - 2];
    if (ipat >= 14 && ipat <= 25)
        return 13 - ipat;
    if (ipat >= kFirstFinePercentIpat && ipat < kFirstFinePercentIpat + int(kFinePercentTextures.size()))
        return kFinePercentTextures[ipat - kFirstFinePercentIpat];
    return std::nullopt;
}

} // namespace wordproc::doc
