#include "wordproc/msdoc/DocSection.h"

#include "wordproc/msdoc/DocBytes.h"
#include "wordproc/msdoc/DocFormatConstants.h"
#include "wordproc/msdoc/DocSprms.h"
#include "base/Failure.h"

namespace wordproc::doc {

namespace {

constexpr int kOrientLandscape = 2;
constexpr int kGutterLeft = 0, kGutterTop = 1, kGutterRight = 2;
// Dop97 offsets and flags.
constexpr int kDopFacingPages = 0x00;       // bit 0x01: odd and even headers
constexpr int kDopFootnoteInfo = 0x02;
constexpr int kDopMirrorMargins = 0x06;     // bit 0x20
constexpr int kDopDefaultTab = 0x0A;
constexpr int kDopHotZone = 0x0E;
constexpr int kDopEndnoteInfo = 0x34;
constexpr int kDopView = 0x52;              // zoom in bits 3-11, gutter at top in bit 15

[[noreturn]] void refuse(const QString &what)
{
    throw base::Failure(QStringLiteral("The page setup cannot be saved in a Word file: %1.").arg(what));
}

// The extents Word accepts for each length and number of the page setup: the writer refuses a
// value outside them, and the reader ignores one, as Word does, so that whatever was read can be
// written again.
constexpr int kMaxTray = 0x7FFF;

struct Extent {
    int PageSetup::*field;
    int low;
    int high;
    const char *name;
};

constexpr Extent kExtents[] = {
    {&PageSetup::pageWidth, 1, kMaxTwips, "the page width"},
    {&PageSetup::pageHeight, 1, kMaxTwips, "the page height"},
    {&PageSetup::leftMargin, 0, kMaxTwips, "the left margin"},
    {&PageSetup::rightMargin, 0, kMaxTwips, "the right margin"},
    {&PageSetup::topMargin, -kMaxTwips, kMaxTwips, "the top margin"},
    {&PageSetup::bottomMargin, -kMaxTwips, kMaxTwips, "the bottom margin"},
    {&PageSetup::gutter, 0, kMaxTwips, "the gutter"},
    {&PageSetup::headerDistance, 0, kMaxTwips, "the header distance"},
    {&PageSetup::footerDistance, 0, kMaxTwips, "the footer distance"},
    {&PageSetup::firstPageTray, 0, kMaxTray, "the first page tray"},
    {&PageSetup::otherPagesTray, 0, kMaxTray, "the other pages tray"},
    {&PageSetup::sectionStart, 0, 4, "the section start"},
    {&PageSetup::verticalAlignment, 0, 3, "the vertical alignment"},
    {&PageSetup::gutterPos, kGutterLeft, kGutterRight, "the gutter position"},
};

bool within(const Extent &extent, int value) { return value >= extent.low && value <= extent.high; }

void setWithin(PageSetup &page, int PageSetup::*field, int value)
{
    for (const Extent &extent : kExtents)
        if (extent.field == field && within(extent, value))
            page.*field = value;
}

bool marginsLeaveRoom(const PageSetup &page)
{
    return page.leftMargin + page.rightMargin + page.gutter < page.pageWidth
        && std::abs(page.topMargin) + std::abs(page.bottomMargin) < page.pageHeight;
}

void checkPage(const PageSetup &page)
{
    for (const Extent &extent : kExtents) {
        const int value = page.*extent.field;
        if (!within(extent, value))
            refuse(QStringLiteral("%1 of %2 is outside %3 to %4")
                       .arg(QLatin1String(extent.name))
                       .arg(value)
                       .arg(extent.low)
                       .arg(extent.high));
    }
    if (!marginsLeaveRoom(page))
        refuse(QStringLiteral("the margins leave no room for text"));
    // These live in document properties that only Word 2002 and later files have.
    if (page.twoPagesOnOne || page.bookFoldPrinting || page.bookFoldRevPrinting || page.bookFoldPrintingSheets != 1)
        refuse(QStringLiteral("two pages per sheet and book fold printing need a newer file format"));
}

} // namespace

QByteArray encodeSectionSprms(const PageSetup &page)
{
    checkPage(page);
    ByteWriter out;
    appendSprm(out, sprm::SXaPage, unsigned(page.pageWidth));
    appendSprm(out, sprm::SYaPage, unsigned(page.pageHeight));
    appendSprm(out, sprm::SDxaLeft, unsigned(page.leftMargin));
    appendSprm(out, sprm::SDxaRight, unsigned(page.rightMargin));
    appendSprm(out, sprm::SDyaTop, unsigned(page.topMargin) & 0xFFFF);
    appendSprm(out, sprm::SDyaBottom, unsigned(page.bottomMargin) & 0xFFFF);
    appendSprm(out, sprm::SDyaHdrTop, unsigned(page.headerDistance));
    appendSprm(out, sprm::SDyaHdrBottom, unsigned(page.footerDistance));
    appendSprm(out, sprm::SDzaGutter, unsigned(page.gutter));
    // Portrait is the default and is never written: LibreOffice shows any orientation value as landscape.
    if (page.landscape)
        appendSprm(out, sprm::SBOrientation, kOrientLandscape);
    if (page.lineNumbering)
        appendSprm(out, sprm::SNLnnMod, 1);
    if (page.firstPageTray != 0)
        appendSprm(out, sprm::SDmBinFirst, unsigned(page.firstPageTray));
    if (page.otherPagesTray != 0)
        appendSprm(out, sprm::SDmBinOther, unsigned(page.otherPagesTray));
    if (page.sectionStart != PageSetup{}.sectionStart)
        appendSprm(out, sprm::SBkc, unsigned(page.sectionStart));
    if (page.differentFirstPageHeaderFooter)
        appendSprm(out, sprm::SFTitlePage, 1);
    if (page.verticalAlignment != 0)
        appendSprm(out, sprm::SVjc, unsigned(page.verticalAlignment));
    if (page.suppressEndnotes)
        appendSprm(out, sprm::SFEndnote, 0);
    if (page.gutterPos == kGutterRight)
        appendSprm(out, sprm::SFRTLGutter, 1);
    return out.data();
}

QByteArray encodeDop(const PageSetup &page)
{
    checkPage(page);
    ByteWriter out;
    out.zeros(kDopSize);
    QByteArray dop = out.data();
    auto putU16 = [&dop](int at, unsigned value) {
        dop[at] = char(value & 0xFF);
        dop[at + 1] = char((value >> 8) & 0xFF);
    };
    if (page.oddAndEvenPagesHeaderFooter)
        dop[kDopFacingPages] = char(0x01);
    if (page.mirrorMargins)
        dop[kDopMirrorMargins] = char(0x20);
    putU16(kDopFootnoteInfo, 1 << 2); // footnotes numbered from 1
    putU16(kDopDefaultTab, 720);      // default tab stops every half inch
    putU16(kDopHotZone, 360);
    putU16(kDopEndnoteInfo, 1 << 2);  // endnotes numbered from 1
    putU16(kDopView, (100 << 3) | (page.gutterPos == kGutterTop ? 0x8000 : 0)); // zoom 100 %
    return dop;
}

void applySectionSprms(const QByteArray &grpprl, PageSetup &page)
{
    for (const Sprm &sprm : parseSprms(grpprl)) {
        const int value = int(sprm.value());
        switch (sprm.id) {
        case sprm::SXaPage: setWithin(page, &PageSetup::pageWidth, value); break;
        case sprm::SYaPage: setWithin(page, &PageSetup::pageHeight, value); break;
        case sprm::SDxaLeft: setWithin(page, &PageSetup::leftMargin, value); break;
        case sprm::SDxaRight: setWithin(page, &PageSetup::rightMargin, value); break;
        case sprm::SDyaTop: setWithin(page, &PageSetup::topMargin, sprm.signedValue()); break;
        case sprm::SDyaBottom: setWithin(page, &PageSetup::bottomMargin, sprm.signedValue()); break;
        case sprm::SDyaHdrTop: setWithin(page, &PageSetup::headerDistance, value); break;
        case sprm::SDyaHdrBottom: setWithin(page, &PageSetup::footerDistance, value); break;
        case sprm::SDzaGutter: setWithin(page, &PageSetup::gutter, value); break;
        case sprm::SBOrientation: page.landscape = value == kOrientLandscape; break;
        case sprm::SNLnnMod: page.lineNumbering = value > 0; break;
        case sprm::SDmBinFirst: setWithin(page, &PageSetup::firstPageTray, value); break;
        case sprm::SDmBinOther: setWithin(page, &PageSetup::otherPagesTray, value); break;
        case sprm::SBkc: setWithin(page, &PageSetup::sectionStart, value); break;
        case sprm::SFTitlePage: page.differentFirstPageHeaderFooter = value != 0; break;
        case sprm::SVjc: setWithin(page, &PageSetup::verticalAlignment, value); break;
        case sprm::SFEndnote: page.suppressEndnotes = value == 0; break;
        case sprm::SFRTLGutter:
            if (value != 0)
                page.gutterPos = kGutterRight;
            break;
        default: break;
        }
    }
    if (!marginsLeaveRoom(page))
        throwDamaged(QStringLiteral("the page's margins leave no room for text"));
}

void applyDop(const QByteArray &dop, PageSetup &page)
{
    const ByteReader in(dop, QStringLiteral("the document properties"));
    if (in.size() > kDopFacingPages)
        page.oddAndEvenPagesHeaderFooter = (in.u8(kDopFacingPages) & 0x01) != 0;
    if (in.size() > kDopMirrorMargins)
        page.mirrorMargins = (in.u8(kDopMirrorMargins) & 0x20) != 0;
    if (in.size() >= kDopView + 2 && (in.u16(kDopView) & 0x8000) != 0 && page.gutterPos == kGutterLeft)
        page.gutterPos = kGutterTop;
}

} // namespace wordproc::doc
