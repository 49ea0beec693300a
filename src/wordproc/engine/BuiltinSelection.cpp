// The built-in engine's selection, cell shading, range and table objects: thin translations of
// Word's arguments onto the editor.
#include "wordproc/engine/BuiltinArguments.h"
#include "wordproc/engine/BuiltinState.h"
#include "wordproc/layout/PageRenderer.h"

#include "base/Failure.h"

namespace wordproc {
namespace {

constexpr int kPictureDpi = 192;

class BuiltinShading final : public automation::Shading {
public:
    explicit BuiltinShading(DocumentHandle handle) : m_handle(std::move(handle)) {}

    void setTexture(int texture) override
    {
        const int value = shadingTexture(texture);
        m_handle.editor().changeCellsShading([&](wordproc::Shading &shading) { shading.texture = value; });
    }
    void setForegroundPatternColor(std::int32_t colour) override
    {
        const auto value = colourNumber("Shading.ForegroundPatternColor", colour);
        m_handle.editor().changeCellsShading([&](wordproc::Shading &shading) { shading.foreground = value; });
    }
    void setBackgroundPatternColor(std::int32_t colour) override
    {
        const auto value = colourNumber("Shading.BackgroundPatternColor", colour);
        m_handle.editor().changeCellsShading([&](wordproc::Shading &shading) { shading.background = value; });
    }

private:
    DocumentHandle m_handle;
};

class BuiltinSelection final : public automation::Selection {
public:
    explicit BuiltinSelection(DocumentHandle handle) : m_handle(std::move(handle)) {}

    void setFontName(const QString &name) override
    {
        const QString value = fontName(name);
        m_handle.editor().changeFont([&](CharFormat &format) { format.fontName = value; });
    }
    void setFontSize(double points) override
    {
        const int halfPoints = fontSizeToHalfPoints(points);
        m_handle.editor().changeFont([&](CharFormat &format) { format.halfPoints = halfPoints; });
    }
    void setFontBold(bool bold) override
    {
        m_handle.editor().changeFont([&](CharFormat &format) { format.bold = bold; });
    }
    void setFontColor(std::int32_t colour) override
    {
        const auto value = colourNumber("Font.Color", colour);
        m_handle.editor().changeFont([&](CharFormat &format) { format.colour = value; });
    }
    void setParagraphAlignment(int alignment) override
    {
        const Alignment value = paragraphAlignment(alignment);
        m_handle.editor().setParagraphAlignment(value);
    }
    std::shared_ptr<automation::Range> range() override
    {
        const Editor &editor = m_handle.editor();
        return makeRange(m_handle, std::pair(editor.selectionStart(), editor.selectionEnd()));
    }
    void mergeCells() override { m_handle.editor().mergeCells(); }
    void setCellsVerticalAlignment(int alignment) override
    {
        const VerticalAlignment value = cellVerticalAlignment(alignment);
        m_handle.editor().setCellsVerticalAlignment(value);
    }
    std::shared_ptr<automation::Shading> cellsShading() override
    {
        m_handle.document();
        return std::make_shared<BuiltinShading>(m_handle);
    }
    void setRowsHeightRule(int rule) override
    {
        const HeightRule value = heightRule(rule);
        m_handle.editor().setRowsHeightRule(value);
    }
    void setRowsHeight(double points) override
    {
        const int twips = pointsToTwips("Rows.Height", points, 0, 1584);
        m_handle.editor().setRowsHeight(twips);
    }
    void typeText(const QString &text) override { m_handle.editor().typeText(text); }
    void moveRight(int unit, int count, int extend) override
    {
        if (unit != automation::wdCharacter)
            throwBadParameter(QStringLiteral("MoveRight Unit"), QString::number(unit));
        if (extend != automation::wdMove && extend != automation::wdExtend)
            throwBadParameter(QStringLiteral("MoveRight Extend"), QString::number(extend));
        m_handle.editor().moveRight(count, extend == automation::wdExtend);
    }
    void moveDown(int unit, int count) override
    {
        if (unit != automation::wdLine)
            throwBadParameter(QStringLiteral("MoveDown Unit"), QString::number(unit));
        m_handle.editor().moveDown(count);
    }

private:
    DocumentHandle m_handle;
};

class BuiltinRange final : public automation::Range {
public:
    BuiltinRange(DocumentHandle handle, RangeSnapshot snapshot)
        : m_handle(std::move(handle)), m_snapshot(std::move(snapshot)) {}

    // The picture shows the document's content as laid out on the page, whatever part of it the
    // range covers.
    QImage copyAsPicture() override { return renderContent(m_handle.editor().document(), kPictureDpi); }

    Position startIn(const DocumentHandle &handle) const
    {
        handle.document();
        if (m_handle.documentPointer() != handle.documentPointer())
            throw base::Failure(QStringLiteral("The range belongs to another document."));
        return m_snapshot ? m_snapshot->first : Position{};
    }

private:
    DocumentHandle m_handle;
    RangeSnapshot m_snapshot;
};

class BuiltinTable final : public automation::Table {
public:
    BuiltinTable(DocumentHandle handle, int id) : m_handle(std::move(handle)), m_id(id) {}

    void setStyle(const QString &style) override
    {
        wordproc::Table &table = m_handle.editor().table(m_id);
        if (style.compare(QStringLiteral("Table Grid"), Qt::CaseInsensitive) == 0) {
            table.style = QStringLiteral("Table Grid");
            table.gridBorders = true;
        } else if (style.compare(QStringLiteral("Table Normal"), Qt::CaseInsensitive) == 0) {
            table.style = QStringLiteral("Table Normal");
            table.gridBorders = false;
        } else {
            throw base::Failure(QStringLiteral("The requested member of the collection does not exist."));
        }
    }
    // The "Table Grid" style has no special look for heading rows, last row or outer columns, so
    // the flags are kept on the table object and change nothing on the page.
    void setApplyStyleHeadingRows(bool apply) override { look().headingRows = apply; }
    void setApplyStyleLastRow(bool apply) override { look().lastRow = apply; }
    void setApplyStyleFirstColumn(bool apply) override { look().firstColumn = apply; }
    void setApplyStyleLastColumn(bool apply) override { look().lastColumn = apply; }

private:
    struct Look {
        bool headingRows = true;
        bool lastRow = false;
        bool firstColumn = true;
        bool lastColumn = false;
    };
    Look &look()
    {
        m_handle.editor().table(m_id);
        return m_look;
    }

    DocumentHandle m_handle;
    int m_id;
    Look m_look;
};

class BuiltinTables final : public automation::Tables {
public:
    explicit BuiltinTables(DocumentHandle handle) : m_handle(std::move(handle)) {}

    std::shared_ptr<automation::Table> add(const std::shared_ptr<automation::Range> &range, int numRows, int numColumns,
                                           int defaultTableBehavior, int autoFitBehavior) override
    {
        const Position at = rangeStartIn(m_handle, range);
        intInRange("NumRows", numRows, 1, 32767);
        intInRange("NumColumns", numColumns, 1, 63);
        intInRange("DefaultTableBehavior", defaultTableBehavior, 0, automation::wdWord9TableBehavior);
        if (autoFitBehavior != automation::wdAutoFitFixed)
            throwBadParameter(QStringLiteral("AutoFitBehavior"), QString::number(autoFitBehavior));
        const int id = m_handle.editor().insertTable(at, numRows, numColumns);
        return std::make_shared<BuiltinTable>(m_handle, id);
    }

private:
    DocumentHandle m_handle;
};

} // namespace

std::shared_ptr<automation::Selection> makeSelection(const DocumentHandle &handle)
{
    return std::make_shared<BuiltinSelection>(handle);
}

std::shared_ptr<automation::Tables> makeTables(const DocumentHandle &handle)
{
    return std::make_shared<BuiltinTables>(handle);
}

std::shared_ptr<automation::Range> makeRange(const DocumentHandle &handle, RangeSnapshot snapshot)
{
    return std::make_shared<BuiltinRange>(handle, std::move(snapshot));
}

Position rangeStartIn(const DocumentHandle &handle, const std::shared_ptr<automation::Range> &range)
{
    const auto *builtin = dynamic_cast<const BuiltinRange *>(range.get());
    if (!builtin)
        throw base::Failure(QStringLiteral("Type mismatch: the range does not belong to this engine."));
    return builtin->startIn(handle);
}

} // namespace wordproc
