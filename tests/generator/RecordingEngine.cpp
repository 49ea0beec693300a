#include "RecordingEngine.h"


using namespace automation;

namespace testsupport {
namespace {

QString n(double v) { return QString::number(v); }
QString n(std::int32_t v) { return QString::number(v); }
QString n(bool v) { return v ? QStringLiteral("true") : QStringLiteral("false"); }
QString b(bool v) { return v ? QStringLiteral("true") : QStringLiteral("false"); }

struct Recorder {
    std::shared_ptr<CallLog> log;
    void operator()(const QString &call) const { (*log)(call); }
    // Makes an object unless the sweep wants this fetch to answer null.
    template <class T, class... A> std::shared_ptr<T> make(const QString &what, bool recorded, A &&...args) const
    {
        if (log->fetch(what, recorded))
            return nullptr;
        return std::make_shared<T>(std::forward<A>(args)...);
    }
};

class RecRange final : public Range {
public:
    RecRange(Recorder r, QImage picture) : rec(r), picture(picture) {}
    QImage copyAsPicture() override { rec(QStringLiteral("Range.copyAsPicture")); return picture; }
    Recorder rec;
    QImage picture;
};

class RecShading final : public Shading {
public:
    explicit RecShading(Recorder r) : rec(r) {}
    void setTexture(int v) override { rec("Shading.Texture=" + n(v)); }
    void setForegroundPatternColor(std::int32_t v) override { rec("Shading.ForegroundPatternColor=" + n(v)); }
    void setBackgroundPatternColor(std::int32_t v) override { rec("Shading.BackgroundPatternColor=" + n(v)); }
    Recorder rec;
};

class RecSelection final : public Selection {
public:
    RecSelection(Recorder r, QImage picture) : rec(r), picture(picture) {}
    void setFontName(const QString &v) override { rec("Font.Name=" + v); }
    void setFontSize(double v) override { rec("Font.Size=" + n(v)); }
    void setFontBold(bool v) override { rec("Font.Bold=" + b(v)); }
    void setFontColor(std::int32_t v) override { rec("Font.Color=" + n(v)); }
    void setParagraphAlignment(int v) override { rec("ParagraphFormat.Alignment=" + n(v)); }
    std::shared_ptr<Range> range() override { return rec.make<RecRange>(QStringLiteral("Selection.Range"), false, rec, picture); }
    void mergeCells() override { rec(QStringLiteral("Cells.Merge")); }
    void setCellsVerticalAlignment(int v) override { rec("Cells.VerticalAlignment=" + n(v)); }
    std::shared_ptr<Shading> cellsShading() override
    {
        return rec.make<RecShading>(QStringLiteral("Cells.Shading"), true, rec);
    }
    void setRowsHeightRule(int v) override { rec("Rows.HeightRule=" + n(v)); }
    void setRowsHeight(double v) override { rec("Rows.Height=" + n(v)); }
    void typeText(const QString &v) override { rec("TypeText:" + v); }
    void moveRight(int unit, int count, int extend) override
    {
        rec(QStringLiteral("MoveRight(%1,%2,%3)").arg(unit).arg(count).arg(extend));
    }
    void moveDown(int unit, int count) override { rec(QStringLiteral("MoveDown(%1,%2)").arg(unit).arg(count)); }
    Recorder rec;
    QImage picture;
};

class RecPageSetup final : public PageSetup {
public:
    explicit RecPageSetup(Recorder r) : rec(r) {}
#define REC_SET(Name, Type) \
    void set##Name(Type v) override { rec(QStringLiteral("PageSetup." #Name "=") + n(v)); }
    REC_SET(LineNumberingActive, bool) REC_SET(Orientation, int) REC_SET(TopMargin, double)
    REC_SET(BottomMargin, double) REC_SET(LeftMargin, double) REC_SET(RightMargin, double) REC_SET(Gutter, double)
    REC_SET(HeaderDistance, double) REC_SET(FooterDistance, double) REC_SET(PageWidth, double)
    REC_SET(PageHeight, double) REC_SET(FirstPageTray, int) REC_SET(OtherPagesTray, int)
    REC_SET(SectionStart, int) REC_SET(OddAndEvenPagesHeaderFooter, bool)
    REC_SET(DifferentFirstPageHeaderFooter, bool) REC_SET(VerticalAlignment, int) REC_SET(SuppressEndnotes, bool)
    REC_SET(MirrorMargins, bool) REC_SET(TwoPagesOnOne, bool) REC_SET(BookFoldPrinting, bool)
    REC_SET(BookFoldRevPrinting, bool) REC_SET(BookFoldPrintingSheets, int) REC_SET(GutterPos, int)
#undef REC_SET
    Recorder rec;
};

class RecTable final : public Table {
public:
    explicit RecTable(Recorder r) : rec(r) {}
    void setStyle(const QString &v) override { rec("Table.Style=" + v); }
    void setApplyStyleHeadingRows(bool v) override { rec("Table.ApplyStyleHeadingRows=" + b(v)); }
    void setApplyStyleLastRow(bool v) override { rec("Table.ApplyStyleLastRow=" + b(v)); }
    void setApplyStyleFirstColumn(bool v) override { rec("Table.ApplyStyleFirstColumn=" + b(v)); }
    void setApplyStyleLastColumn(bool v) override { rec("Table.ApplyStyleLastColumn=" + b(v)); }
    Recorder rec;
};

class RecTables final : public Tables {
public:
    explicit RecTables(Recorder r) : rec(r) {}
    std::shared_ptr<Table> add(const std::shared_ptr<Range> &, int rows, int cols, int behavior, int autofit) override
    {
        return rec.make<RecTable>(QStringLiteral("Tables.Add(%1,%2,%3,%4)").arg(rows).arg(cols).arg(behavior).arg(autofit),
                                  true, rec);
    }
    Recorder rec;
};

class RecDocument final : public Document {
public:
    RecDocument(Recorder r, QImage picture) : rec(r), picture(picture) {}
    std::shared_ptr<PageSetup> pageSetup() override
    {
        return rec.make<RecPageSetup>(QStringLiteral("Document.PageSetup"), true, rec);
    }
    std::shared_ptr<Selection> activeWindowSelection() override
    {
        return rec.make<RecSelection>(QStringLiteral("Document.ActiveWindow.Selection"), false, rec, picture);
    }
    std::shared_ptr<Range> range() override { return rec.make<RecRange>(QStringLiteral("Document.Range"), false, rec, picture); }
    std::shared_ptr<Tables> tables() override { return rec.make<RecTables>(QStringLiteral("Document.Tables"), false, rec); }
    void saveAs(const QString &path) override { rec("Document.SaveAs:" + path); }
    void close(int save) override { rec(QStringLiteral("Document.Close(%1)").arg(save)); }
    Recorder rec;
    QImage picture;
};

class RecDocuments final : public Documents {
public:
    RecDocuments(Recorder r, std::shared_ptr<Document> &active, QImage picture)
        : rec(r), active(active), picture(picture) {}
    std::shared_ptr<Document> add() override
    {
        if (rec.log->givesNothing.contains(QStringLiteral("Documents.Add"))) {
            rec(QStringLiteral("Documents.Add"));
            return nullptr;
        }
        return active = rec.make<RecDocument>(QStringLiteral("Documents.Add"), true, rec, picture);
    }
    std::shared_ptr<Document> open(const QString &path) override
    {
        if (rec.log->givesNothing.contains(QStringLiteral("Documents.Open"))) {
            rec("Documents.Open:" + path);
            return nullptr;
        }
        return active = rec.make<RecDocument>("Documents.Open:" + path, true, rec, picture);
    }
    Recorder rec;
    std::shared_ptr<Document> &active;
    QImage picture;
};

class RecApplication final : public Application {
public:
    RecApplication(Recorder r, QImage picture) : rec(r), picture(picture) {}
    QString name() const override { return QStringLiteral("Recording Engine"); }
    std::shared_ptr<Documents> documents() override
    {
        return rec.make<RecDocuments>(QStringLiteral("Application.Documents"), false, rec, active, picture);
    }
    std::shared_ptr<Document> activeDocument() override
    {
        if (rec.log->givesNothing.contains(QStringLiteral("ActiveDocument")))
            return nullptr;
        return rec.log->fetch(QStringLiteral("Application.ActiveDocument"), false) ? nullptr : active;
    }
    double inchesToPoints(double inches) const override { return inches * 72.0; }
    void setDisplayAlerts(bool v) override { rec("Application.DisplayAlerts=" + b(v)); }
    void quit() override { rec(QStringLiteral("Application.Quit")); }
    Recorder rec;
    QImage picture;
    std::shared_ptr<Document> active;
};

} // namespace

std::shared_ptr<Application> RecordingEngine::createNew()
{
    return Recorder{log}.make<RecApplication>(QStringLiteral("Factory.createNew"), true, Recorder{log}, picture);
}

} // namespace testsupport
