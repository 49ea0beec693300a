#pragma once
// Everything the generator asks of a word processor, shaped after Word's automation objects so
// that a real office suite could stand behind it. Every call may throw base::Failure with a
// description, as an automation call can fail; the calling procedure's error trap reports it.
#include <QImage>
#include <QString>

#include <cstdint>
#include <memory>

namespace automation {

// Word's numeric constants as the generator passes them.
enum : int {
    wdCharacter = 1,
    wdLine = 5,
    wdMove = 0,
    wdExtend = 1,
    wdRowHeightAuto = 0,
    wdRowHeightAtLeast = 1,
    wdRowHeightExactly = 2,
    wdCellAlignVerticalTop = 0,
    wdCellAlignVerticalCenter = 1,
    wdAlignParagraphLeft = 0,
    wdAlignParagraphCenter = 1,
    wdTextureNone = 0,
    wdWord9TableBehavior = 1,
    wdAutoFitFixed = 0,
    wdOrientPortrait = 0,
    wdSectionNewPage = 2,
    wdAlignVerticalTop = 0,
    wdGutterPosLeft = 0,
    wdPrinterDefaultBin = 0,
    wdDoNotSaveChanges = 0,
};
inline constexpr std::int32_t wdColorAutomatic = -16777216;

class Range;

class PageSetup {
public:
    virtual ~PageSetup() = default;
    virtual void setLineNumberingActive(bool) = 0;
    virtual void setOrientation(int) = 0;
    virtual void setTopMargin(double points) = 0;
    virtual void setBottomMargin(double points) = 0;
    virtual void setLeftMargin(double points) = 0;
    virtual void setRightMargin(double points) = 0;
    virtual void setGutter(double points) = 0;
    virtual void setHeaderDistance(double points) = 0;
    virtual void setFooterDistance(double points) = 0;
    virtual void setPageWidth(double points) = 0;
    virtual void setPageHeight(double points) = 0;
    virtual void setFirstPageTray(int) = 0;
    virtual void setOtherPagesTray(int) = 0;
    virtual void setSectionStart(int) = 0;
    virtual void setOddAndEvenPagesHeaderFooter(bool) = 0;
    virtual void setDifferentFirstPageHeaderFooter(bool) = 0;
    virtual void setVerticalAlignment(int) = 0;
    virtual void setSuppressEndnotes(bool) = 0;
    virtual void setMirrorMargins(bool) = 0;
    virtual void setTwoPagesOnOne(bool) = 0;
    virtual void setBookFoldPrinting(bool) = 0;
    virtual void setBookFoldRevPrinting(bool) = 0;
    virtual void setBookFoldPrintingSheets(int) = 0;
    virtual void setGutterPos(int) = 0;
};

class Shading {
public:
    virtual ~Shading() = default;
    virtual void setTexture(int) = 0;
    virtual void setForegroundPatternColor(std::int32_t) = 0;
    virtual void setBackgroundPatternColor(std::int32_t) = 0;
};

// The selection of the document's active window: Word's cursor.
class Selection {
public:
    virtual ~Selection() = default;
    // Font
    virtual void setFontName(const QString &) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setFontBold(bool) = 0;
    virtual void setFontColor(std::int32_t) = 0;
    // ParagraphFormat
    virtual void setParagraphAlignment(int) = 0;
    virtual std::shared_ptr<Range> range() = 0;
    // Cells
    virtual void mergeCells() = 0;
    virtual void setCellsVerticalAlignment(int) = 0;
    virtual std::shared_ptr<Shading> cellsShading() = 0;
    // Rows
    virtual void setRowsHeightRule(int) = 0;
    virtual void setRowsHeight(double points) = 0;
    // Movement and typing
    virtual void typeText(const QString &text) = 0;
    virtual void moveRight(int unit, int count, int extend = wdMove) = 0;
    virtual void moveDown(int unit, int count) = 0;
};

class Table {
public:
    virtual ~Table() = default;
    virtual void setStyle(const QString &) = 0;
    virtual void setApplyStyleHeadingRows(bool) = 0;
    virtual void setApplyStyleLastRow(bool) = 0;
    virtual void setApplyStyleFirstColumn(bool) = 0;
    virtual void setApplyStyleLastColumn(bool) = 0;
};

class Tables {
public:
    virtual ~Tables() = default;
    virtual std::shared_ptr<Table> add(const std::shared_ptr<Range> &range, int numRows, int numColumns,
                                       int defaultTableBehavior, int autoFitBehavior) = 0;
};

class Range {
public:
    virtual ~Range() = default;
    // Word copies the range to the clipboard as a picture; we hand the picture back directly so
    // that the user's clipboard is left alone. The image's dots-per-metre give its size on paper.
    virtual QImage copyAsPicture() = 0;
};

class Document {
public:
    virtual ~Document() = default;
    virtual std::shared_ptr<PageSetup> pageSetup() = 0;
    virtual std::shared_ptr<Selection> activeWindowSelection() = 0;
    virtual std::shared_ptr<Range> range() = 0;
    virtual std::shared_ptr<Tables> tables() = 0;
    virtual void saveAs(const QString &fileName) = 0;
    virtual void close(int saveChanges = wdDoNotSaveChanges) = 0;
};

class Documents {
public:
    virtual ~Documents() = default;
    virtual std::shared_ptr<Document> add() = 0;
    virtual std::shared_ptr<Document> open(const QString &fileName) = 0;
};

class Application {
public:
    virtual ~Application() = default;
    virtual QString name() const = 0; // the default property
    virtual std::shared_ptr<Documents> documents() = 0;
    virtual std::shared_ptr<Document> activeDocument() = 0;
    virtual double inchesToPoints(double inches) const = 0;
    virtual void setDisplayAlerts(bool) = 0;
    virtual void quit() = 0;
};

// Creates word-processor instances. The program makes one and hands it to whatever needs an
// engine; tests hand over their own.
class ApplicationFactory {
public:
    virtual ~ApplicationFactory() = default;
    // A new, invisible instance; throws base::Failure when none can be created.
    virtual std::shared_ptr<Application> createNew() = 0;
    // An instance that is already alive for this user, or null when there is none.
    virtual std::shared_ptr<Application> getRunning() = 0;
    // The name (default property) by which a running instance of this engine answers.
    virtual QString applicationName() const { return QStringLiteral("Microsoft Word"); }
};

} // namespace automation
