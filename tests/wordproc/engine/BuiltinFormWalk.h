#pragma once
// The row recipes the generator issues, call for call, for driving an engine in tests.
#include "automation/WordAutomation.h"

#include <memory>

namespace testsupport {

class FormWalk {
public:
    FormWalk(automation::Application &app, std::shared_ptr<automation::Selection> selection)
        : m_app(app), m_s(std::move(selection)) {}

    void title(const QString &text)
    {
        extendAndMerge(3);
        shade(14478320);
        m_s->setFontColor(153);
        m_s->setParagraphAlignment(automation::wdAlignParagraphCenter);
        m_s->setFontSize(16);
        m_s->setFontName(QStringLiteral("Tahoma"));
        m_s->setFontBold(true);
        m_s->typeText(text);
        height(automation::wdRowHeightAtLeast, 0.37);
        centre();
        move(2);
    }
    void heading(const QString &text)
    {
        extendAndMerge(3);
        shade(0);
        m_s->setFontColor(16777215);
        m_s->setFontSize(9);
        m_s->setFontName(QStringLiteral("Tahoma"));
        m_s->setFontBold(true);
        m_s->typeText(text);
        height(automation::wdRowHeightAtLeast, 0.22);
        centre();
        move(2);
    }
    void wholeRow(const QString &text)
    {
        extendAndMerge(3);
        m_s->typeText(text);
        height(automation::wdRowHeightAtLeast, 0.2);
        centre();
        move(2);
    }
    void cells111(const QString &a, const QString &b, const QString &c)
    {
        m_s->typeText(a);
        height(automation::wdRowHeightAtLeast, 0.2);
        centre();
        move(1);
        centre();
        m_s->typeText(b);
        move(1);
        centre();
        m_s->typeText(c);
        move(2);
    }
    void cells21(const QString &a, const QString &b)
    {
        extendAndMerge(2);
        m_s->typeText(a);
        height(automation::wdRowHeightAtLeast, 0.2);
        centre();
        move(1);
        m_s->typeText(b);
        move(2);
    }
    void cells12(const QString &a, const QString &b)
    {
        m_s->typeText(a);
        height(automation::wdRowHeightAtLeast, 0.2);
        centre();
        move(1);
        extendAndMerge(2);
        centre();
        m_s->typeText(b);
        move(2);
    }
    void references(const QString &a, const QString &b, const QString &c)
    {
        m_s->typeText(a);
        height(automation::wdRowHeightAtLeast, 0.2);
        centre();
        move(1);
        m_s->typeText(b);
        move(1);
        m_s->typeText(c);
        m_s->moveDown(automation::wdLine, 1);
        height(automation::wdRowHeightAtLeast, 0.2);
        m_s->moveDown(automation::wdLine, 1);
        height(automation::wdRowHeightAtLeast, 0.2);
        move(2);
    }
    void statement(const QString &text)
    {
        extendAndMerge(3);
        m_s->typeText(text);
        height(automation::wdRowHeightExactly, 0.35);
        centre();
        move(2);
    }
    void signature(const QString &label, bool lastRow)
    {
        extendAndMerge(2);
        m_s->typeText(QStringLiteral("\r\n") + label);
        height(automation::wdRowHeightExactly, 0.35);
        centre();
        move(1);
        m_s->typeText(QStringLiteral("\r\nDate:"));
        centre();
        if (!lastRow)
            move(2);
    }

private:
    void move(int count) { m_s->moveRight(automation::wdCharacter, count); }
    void extendAndMerge(int count)
    {
        m_s->moveRight(automation::wdCharacter, count, automation::wdExtend);
        m_s->mergeCells();
    }
    void shade(std::int32_t background)
    {
        auto shading = m_s->cellsShading();
        shading->setTexture(automation::wdTextureNone);
        shading->setForegroundPatternColor(automation::wdColorAutomatic);
        shading->setBackgroundPatternColor(background);
    }
    void height(int rule, double inches)
    {
        m_s->setRowsHeightRule(rule);
        m_s->setRowsHeight(m_app.inchesToPoints(inches));
    }
    void centre() { m_s->setCellsVerticalAlignment(automation::wdCellAlignVerticalCenter); }

    automation::Application &m_app;
    std::shared_ptr<automation::Selection> m_s;
};

} // namespace testsupport
