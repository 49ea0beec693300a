#pragma once
// Numbers of the Word 97-2003 binary format ([MS-DOC]) that the writer and the reader share.
#include <cstdint>

namespace wordproc::doc {

// File Information Block (FIB) at offset 0 of the WordDocument stream.
namespace fib {
inline constexpr std::uint16_t kIdent = 0xA5EC;          // wIdent
inline constexpr std::uint16_t kNFib97 = 0x00C1;         // nFib of Word 97 and every later binary writer
inline constexpr std::uint16_t kNFibBack = 0x00BF;
inline constexpr std::uint16_t kLid = 0x0409;            // English (US)
inline constexpr int kSize = 0x384;                      // 900 bytes with cswNew = 0
inline constexpr int kTextStart = 0x400;                 // where the writer puts the text
// FibBase
inline constexpr int kOffIdent = 0x00;
inline constexpr int kOffNFib = 0x02;
inline constexpr int kOffLid = 0x06;
inline constexpr int kOffFlags = 0x0A;
inline constexpr int kOffNFibBack = 0x0C;
inline constexpr int kOffFcMin = 0x18;                   // reserved in [MS-DOC]; catdoc and wvWare need it
inline constexpr int kOffFcMac = 0x1C;
inline constexpr std::uint16_t kFlagComplex = 0x0004;
inline constexpr std::uint16_t kFlagEncrypted = 0x0100;
inline constexpr std::uint16_t kFlagWhichTableStream = 0x0200;
inline constexpr std::uint16_t kFlagExtChar = 0x1000;
inline constexpr std::uint16_t kFlagObfuscated = 0x8000;
// FibRgW97, FibRgLw97, FibRgFcLcb97
inline constexpr int kOffCsw = 0x20;
inline constexpr int kOffLidFE = 0x3C;
inline constexpr int kOffCslw = 0x3E;
inline constexpr int kOffCbMac = 0x40;
inline constexpr int kOffCcpText = 0x4C;
inline constexpr int kOffCbRgFcLcb = 0x98;
inline constexpr int kOffFcLcb = 0x9A;
inline constexpr int kOffCswNew = 0x382;
inline constexpr int kCsw = 14;
inline constexpr int kCslw = 22;
inline constexpr int kCbRgFcLcb97 = 0x5D;
// Indexes of the fc/lcb pairs in FibRgFcLcb97.
inline constexpr int kStshfOrig = 0;
inline constexpr int kStshf = 1;
inline constexpr int kPlcfSed = 6;
inline constexpr int kPlcfBteChpx = 12;
inline constexpr int kPlcfBtePapx = 13;
inline constexpr int kSttbfFfn = 15;
inline constexpr int kDop = 31;
inline constexpr int kClx = 33;
} // namespace fib

// Single property modifiers ([MS-DOC] 2.6).
namespace sprm {
// Character
inline constexpr std::uint16_t CFBold = 0x0835;
inline constexpr std::uint16_t CIco = 0x2A42;
inline constexpr std::uint16_t CHps = 0x4A43;
inline constexpr std::uint16_t CRgFtc0 = 0x4A4F;
inline constexpr std::uint16_t CRgFtc1 = 0x4A50;
inline constexpr std::uint16_t CRgFtc2 = 0x4A51;
inline constexpr std::uint16_t CCv = 0x6870;
// The same for complex-script text (Arabic, Hebrew, the scripts of India and Southeast Asia...),
// which Word and LibreOffice format with these instead.
inline constexpr std::uint16_t CFBoldBi = 0x085C;
inline constexpr std::uint16_t CFtcBi = 0x4A5E;
inline constexpr std::uint16_t CHpsBi = 0x4A61;
// Paragraph
inline constexpr std::uint16_t PJc80 = 0x2403;
inline constexpr std::uint16_t PFInTable = 0x2416;
inline constexpr std::uint16_t PFTtp = 0x2417;
inline constexpr std::uint16_t PJc = 0x2461;
inline constexpr std::uint16_t PChgTabs = 0xC615;
inline constexpr std::uint16_t PHugePapx = 0x6646;
inline constexpr std::uint16_t PItap = 0x6649;
// Table
inline constexpr std::uint16_t TDxaGapHalf = 0x9602;
inline constexpr std::uint16_t TDyaRowHeight = 0x9407;
inline constexpr std::uint16_t TTableBorders80 = 0xD605;
inline constexpr std::uint16_t TDefTable10 = 0xD606;
inline constexpr std::uint16_t TDefTable = 0xD608;
inline constexpr std::uint16_t TDefTableShd80 = 0xD609;
inline constexpr std::uint16_t TDefTableShd3rd = 0xD60C;
inline constexpr std::uint16_t TDefTableShd = 0xD612;
inline constexpr std::uint16_t TTableWidth = 0xF614;
inline constexpr std::uint16_t TFAutofit = 0x3615;
inline constexpr std::uint16_t TDefTableShd2nd = 0xD616;
inline constexpr std::uint16_t TIstd = 0x563A;
inline constexpr std::uint16_t TCellPaddingDefault = 0xD634;
// Section
inline constexpr std::uint16_t SDmBinFirst = 0x5007;
inline constexpr std::uint16_t SDmBinOther = 0x5008;
inline constexpr std::uint16_t SBkc = 0x3009;
inline constexpr std::uint16_t SFTitlePage = 0x300A;
inline constexpr std::uint16_t SFEndnote = 0x3012;
inline constexpr std::uint16_t SNLnnMod = 0x5015;
inline constexpr std::uint16_t SDyaHdrTop = 0xB017;
inline constexpr std::uint16_t SDyaHdrBottom = 0xB018;
inline constexpr std::uint16_t SVjc = 0x301A;
inline constexpr std::uint16_t SBOrientation = 0x301D;
inline constexpr std::uint16_t SXaPage = 0xB01F;
inline constexpr std::uint16_t SYaPage = 0xB020;
inline constexpr std::uint16_t SDxaLeft = 0xB021;
inline constexpr std::uint16_t SDxaRight = 0xB022;
inline constexpr std::uint16_t SDyaTop = 0x9023;
inline constexpr std::uint16_t SDyaBottom = 0x9024;
inline constexpr std::uint16_t SDzaGutter = 0xB025;
inline constexpr std::uint16_t SFRTLGutter = 0x322A;
} // namespace sprm

// Limits of the structures.
inline constexpr int kMaxCellsPerRow = 63;         // itcMac of TDefTable
inline constexpr int kMaxTwips = 31680;            // 22 inches: Word's largest page and table extent
inline constexpr int kMinHalfPoints = 2;
inline constexpr int kMaxHalfPoints = 3276;
inline constexpr int kMaxFontNameLength = 64;      // xszFfn holds at most 65 characters with its terminator
inline constexpr int kMaxStyleNameLength = 255;    // a style name (Xstz) holds at most 255 characters
inline constexpr int kFkpPageSize = 512;

// Characters with a structural meaning in the text stream.
inline constexpr char16_t kParagraphMark = 0x000D;
inline constexpr char16_t kCellMark = 0x0007;      // ends a cell and, after the cells, a table row

} // namespace wordproc::doc
