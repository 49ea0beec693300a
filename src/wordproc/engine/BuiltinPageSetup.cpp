// The built-in engine's page setup: Word's 24 page properties onto the document's page.
#include "wordproc/engine/BuiltinArguments.h"
#include "wordproc/engine/BuiltinState.h"

namespace wordproc {
namespace {

constexpr double kLargestPage = 1584; // 22 in, Word's largest page side in points

class BuiltinPageSetup final : public automation::PageSetup {
public:
    explicit BuiltinPageSetup(DocumentHandle handle) : m_handle(std::move(handle)) {}

    void setLineNumberingActive(bool active) override { page().lineNumbering = active; }
    void setOrientation(int orientation) override
    {
        intInRange("Orientation", orientation, automation::wdOrientPortrait, automation::wdOrientPortrait);
        page().landscape = false;
    }
    void setTopMargin(double points) override { page().topMargin = margin("TopMargin", points); }
    void setBottomMargin(double points) override { page().bottomMargin = margin("BottomMargin", points); }
    void setLeftMargin(double points) override { page().leftMargin = margin("LeftMargin", points); }
    void setRightMargin(double points) override { page().rightMargin = margin("RightMargin", points); }
    void setGutter(double points) override { page().gutter = margin("Gutter", points); }
    void setHeaderDistance(double points) override { page().headerDistance = margin("HeaderDistance", points); }
    void setFooterDistance(double points) override { page().footerDistance = margin("FooterDistance", points); }
    void setPageWidth(double points) override { page().pageWidth = pointsToTwips("PageWidth", points, 7.2, kLargestPage); }
    void setPageHeight(double points) override { page().pageHeight = pointsToTwips("PageHeight", points, 7.2, kLargestPage); }
    void setFirstPageTray(int tray) override { page().firstPageTray = intInRange("FirstPageTray", tray, 0, 0xFFFF); }
    void setOtherPagesTray(int tray) override { page().otherPagesTray = intInRange("OtherPagesTray", tray, 0, 0xFFFF); }
    void setSectionStart(int start) override { page().sectionStart = intInRange("SectionStart", start, 0, 4); }
    void setOddAndEvenPagesHeaderFooter(bool on) override { page().oddAndEvenPagesHeaderFooter = on; }
    void setDifferentFirstPageHeaderFooter(bool on) override { page().differentFirstPageHeaderFooter = on; }
    void setVerticalAlignment(int alignment) override
    {
        page().verticalAlignment = intInRange("VerticalAlignment", alignment, 0, 3);
    }
    void setSuppressEndnotes(bool on) override { page().suppressEndnotes = on; }
    void setMirrorMargins(bool on) override { page().mirrorMargins = on; }
    void setTwoPagesOnOne(bool on) override { page().twoPagesOnOne = on; }
    void setBookFoldPrinting(bool on) override { page().bookFoldPrinting = on; }
    void setBookFoldRevPrinting(bool on) override { page().bookFoldRevPrinting = on; }
    void setBookFoldPrintingSheets(int sheets) override
    {
        page().bookFoldPrintingSheets = intInRange("BookFoldPrintingSheets", sheets, 1, 9999);
    }
    void setGutterPos(int position) override { page().gutterPos = intInRange("GutterPos", position, 0, 2); }

private:
    wordproc::PageSetup &page() { return m_handle.editor().pageSetup(); }
    static int margin(const char *member, double points) { return pointsToTwips(member, points, 0, kLargestPage); }

    DocumentHandle m_handle;
};

} // namespace

std::shared_ptr<automation::PageSetup> makePageSetup(const DocumentHandle &handle)
{
    return std::make_shared<BuiltinPageSetup>(handle);
}

} // namespace wordproc
