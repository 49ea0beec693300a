// The whole form built through the automation interface, as the generator issues it, and the
// document that results.
#include "BuiltinFormWalk.h"

#include "wordproc/engine/BuiltinEngine.h"
#include "wordproc/editing/Editor.h"

#include <QTemporaryDir>

#include <QStringList>

#include <gtest/gtest.h>

using namespace wordproc;

namespace {

CharFormat tahoma(int halfPoints, bool bold = false, std::int32_t colour = kAutoColour)
{
    return CharFormat{QStringLiteral("Tahoma"), halfPoints, bold, colour};
}

QStringList texts(const Row &row)
{
    QStringList cells;
    for (const Cell &cell : row.cells) {
        QStringList paragraphs;
        for (const Paragraph &paragraph : cell.paragraphs)
            paragraphs << paragraph.text();
        cells << paragraphs.join(QLatin1Char('|'));
    }
    return cells;
}

std::vector<int> widths(const Row &row)
{
    std::vector<int> result;
    for (const Cell &cell : row.cells)
        result.push_back(cell.widthTwips);
    return result;
}

std::vector<VerticalAlignment> alignments(const Row &row)
{
    std::vector<VerticalAlignment> result;
    for (const Cell &cell : row.cells)
        result.push_back(cell.verticalAlignment);
    return result;
}

constexpr auto Top = VerticalAlignment::Top;
constexpr auto Centre = VerticalAlignment::Centre;

class BuiltinForm : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QTemporaryDir lockFolder;
        BuiltinApplicationFactory factory(lockFolder.filePath(QStringLiteral("engine.lock")));
        auto app = factory.createNew();
        auto document = app->documents()->add();
        setUpPage(*app, *document->pageSetup());
        auto selection = document->activeWindowSelection();
        selection->setFontName(QStringLiteral("Tahoma"));
        selection->setFontSize(8);
        auto table = app->activeDocument()->tables()->add(selection->range(), 43, 3, automation::wdWord9TableBehavior,
                                                          automation::wdAutoFitFixed);
        table->setStyle(QStringLiteral("Table Grid"));
        table->setApplyStyleHeadingRows(true);
        table->setApplyStyleLastRow(true);
        table->setApplyStyleFirstColumn(true);
        table->setApplyStyleLastColumn(true);
        walkRows(testsupport::FormWalk(*app, selection));

        const Editor &editor = builtinEditor(*document);
        s_document = new Document(editor.document());
        s_finalSelection = editor.selectionStart();
        document->close();
        app->quit();
    }
    static void TearDownTestSuite() { delete s_document; }

    static void setUpPage(automation::Application &app, automation::PageSetup &page)
    {
        page.setLineNumberingActive(false);
        page.setOrientation(automation::wdOrientPortrait);
        page.setTopMargin(app.inchesToPoints(0.6));
        page.setBottomMargin(app.inchesToPoints(0.6));
        page.setLeftMargin(app.inchesToPoints(0.75));
        page.setRightMargin(app.inchesToPoints(0.75));
        page.setGutter(app.inchesToPoints(0));
        page.setHeaderDistance(app.inchesToPoints(0.5));
        page.setFooterDistance(app.inchesToPoints(0.5));
        page.setPageWidth(app.inchesToPoints(8.5));
        page.setPageHeight(app.inchesToPoints(11));
        page.setFirstPageTray(0);
        page.setOtherPagesTray(0);
        page.setSectionStart(automation::wdSectionNewPage);
        page.setOddAndEvenPagesHeaderFooter(false);
        page.setDifferentFirstPageHeaderFooter(false);
        page.setVerticalAlignment(automation::wdAlignVerticalTop);
        page.setSuppressEndnotes(false);
        page.setMirrorMargins(false);
        page.setTwoPagesOnOne(false);
        page.setBookFoldPrinting(false);
        page.setBookFoldRevPrinting(false);
        page.setBookFoldPrintingSheets(1);
        page.setGutterPos(automation::wdGutterPosLeft);
    }

    static void walkRows(testsupport::FormWalk walk)
    {
        const auto s = [](const char *text) { return QString::fromUtf8(text); };
        walk.title(s("Rental Application"));
        walk.heading(s("Applicant Information"));
        walk.wholeRow(s("Name: Ana Pérez"));
        walk.cells111(s("Date of birth: "), s("SSN: 123"), s("Phone: 555"));
        walk.wholeRow(s("Current address: 1 Main St"));
        walk.cells111(s("City: Springfield"), s("State: IL"), s("Zip Code: 62701"));
        walk.cells111(s("House: Own"), s("Monthly payment or rent: 900"), s("How long? 2 years"));
        walk.wholeRow(s("Previous address: "));
        walk.cells111(s("City: "), s("State: "), s("Zip Code: "));
        walk.cells111(s("House: Rent"), s("Monthly payment or rent: "), s("How long? "));
        walk.heading(s("Employment Information"));
        walk.wholeRow(s("Current employer: ACME"));
        walk.cells21(s("Employer Address: 5 Elm"), s("How long? 3"));
        for (int row = 14; row <= 16; ++row)
            walk.cells111(s("Phone: "), s("E-mail: "), s("Fax: "));
        walk.heading(s("Emergency Contact"));
        walk.wholeRow(s("Name of a person not residing with you: Bo"));
        walk.wholeRow(s("Address: "));
        walk.cells111(s("City: "), s("State: "), s("Zip Code: "));
        walk.cells12(s("Phone: 555-0100"), s("Relationship: Sister"));
        walk.heading(s("Co-applicant Information, if Married"));
        walk.wholeRow(s("Name: "));
        walk.cells111(s("Date of birth: "), s("SSN: "), s("Phone: "));
        walk.wholeRow(s("Current address: "));
        walk.cells111(s("City: "), s("State: "), s("Zip Code: "));
        walk.cells111(s("House: Own"), s("Monthly payment or rent: "), s("How long? "));
        walk.wholeRow(s("Previous address: "));
        walk.cells111(s("City: "), s("State: "), s("Zip Code: "));
        walk.cells111(s("House: Own"), s("Monthly payment or rent: "), s("How long? "));
        walk.heading(s("Co-applicant Employment Information"));
        walk.wholeRow(s("Current employer: "));
        walk.cells21(s("Employer Address: "), s("How long? "));
        for (int row = 34; row <= 36; ++row)
            walk.cells111(s("Phone: "), s("E-mail: "), s("Fax: "));
        walk.heading(s("References"));
        walk.references(s("Name: Cy"), s("Address: 9 Oak"), s("Phone: 555-0199"));
        walk.statement(s("I authorize the verification of the information provided on this form as to my credit and "
                         "employment. I have received a copy of this application."));
        walk.signature(s("Signature of applicant:"), false);
        walk.signature(s("Signature of co-applicant:"), true);
    }

    static const Table &table() { return std::get<Table>(s_document->body.front()); }
    static const Row &row(int number) { return table().rows[number - 1]; }

    static inline Document *s_document = nullptr;
    static inline Position s_finalSelection;
};

TEST_F(BuiltinForm, PageAndTableAreSetUpAsTheGeneratorAsks)
{
    const PageSetup &page = s_document->page;
    EXPECT_EQ(std::tuple(page.pageWidth, page.pageHeight, page.topMargin, page.bottomMargin, page.leftMargin, page.rightMargin),
              std::tuple(12240, 15840, 864, 864, 1080, 1080));
    EXPECT_EQ(std::tuple(page.gutter, page.headerDistance, page.footerDistance, page.sectionStart, page.landscape),
              std::tuple(0, 720, 720, 2, false));

    ASSERT_EQ(s_document->body.size(), 2u) << "one table and the paragraph after it, nothing else";
    EXPECT_EQ(table().rows.size(), 43u);
    EXPECT_EQ(table().style, QStringLiteral("Table Grid"));
    EXPECT_TRUE(table().gridBorders);
    const auto &after = std::get<Paragraph>(s_document->body.back());
    EXPECT_TRUE(after.runs.empty());
    EXPECT_EQ(after.markFormat, tahoma(16));
    EXPECT_EQ(s_finalSelection, (Position{0, 42, 1, 1, 5})) << "after \"Date:\" in row 43, cell 2";
}

TEST_F(BuiltinForm, TitleAndHeadingsCarryTheirOwnFormatAndNothingLeaksIntoFieldRows)
{
    const Row &title = row(1);
    EXPECT_EQ(widths(title), std::vector<int>{10080});
    EXPECT_EQ(title.cells[0].shading, (Shading{0, kAutoColour, 14478320}));
    const Paragraph &titleText = title.cells[0].paragraphs.at(0);
    EXPECT_EQ(titleText.runs, (std::vector<wordproc::Run>{{QStringLiteral("Rental Application"), tahoma(32, true, 153)}}));
    EXPECT_EQ(titleText.alignment, Alignment::Centre);
    EXPECT_EQ(std::tuple(title.heightRule, title.heightTwips), std::tuple(HeightRule::AtLeast, 533));
    EXPECT_EQ(alignments(title), std::vector{Centre});

    for (int number : {2, 11, 17, 22, 31, 37}) {
        const Row &heading = row(number);
        ASSERT_EQ(heading.cells.size(), 1u) << number;
        EXPECT_EQ(heading.cells[0].shading, (Shading{0, kAutoColour, 0})) << number;
        EXPECT_EQ(heading.cells[0].paragraphs.at(0).runs.at(0).format, tahoma(18, true, 16777215)) << number;
        EXPECT_EQ(heading.cells[0].paragraphs.at(0).alignment, Alignment::Left) << number;
        EXPECT_EQ(std::tuple(heading.heightRule, heading.heightTwips), std::tuple(HeightRule::AtLeast, 317)) << number;
    }
    EXPECT_EQ(texts(row(22)), QStringList{"Co-applicant Information, if Married"});

    for (int number = 3; number <= 43; ++number) {
        if (row(number).cells[0].shading.background == 0)
            continue; // a heading
        for (const Cell &cell : row(number).cells) {
            EXPECT_EQ(cell.shading, Shading{}) << number;
            for (const Paragraph &paragraph : cell.paragraphs) {
                EXPECT_EQ(paragraph.markFormat, tahoma(16)) << number;
                EXPECT_EQ(paragraph.alignment, Alignment::Left) << number;
                for (const wordproc::Run &run : paragraph.runs)
                    EXPECT_EQ(run.format, tahoma(16)) << number << " " << run.text.toStdString();
            }
        }
    }
}

TEST_F(BuiltinForm, FieldRowsHaveTheirMergesWidthsTextsAndAlignments)
{
    EXPECT_EQ(texts(row(3)), QStringList{"Name: Ana Pérez"});
    EXPECT_EQ(widths(row(3)), std::vector<int>{10080});
    EXPECT_EQ(std::tuple(row(3).heightRule, row(3).heightTwips), std::tuple(HeightRule::AtLeast, 288));

    EXPECT_EQ(texts(row(4)), (QStringList{"Date of birth: ", "SSN: 123", "Phone: 555"}));
    EXPECT_EQ(widths(row(4)), (std::vector<int>{3360, 3360, 3360}));
    EXPECT_EQ(alignments(row(4)), (std::vector{Centre, Centre, Centre}));
    EXPECT_EQ(std::tuple(row(4).heightRule, row(4).heightTwips), std::tuple(HeightRule::AtLeast, 288));

    EXPECT_EQ(texts(row(13)), (QStringList{"Employer Address: 5 Elm", "How long? 3"}));
    EXPECT_EQ(widths(row(13)), (std::vector<int>{6720, 3360}));
    EXPECT_EQ(alignments(row(13)), (std::vector{Centre, Top}));

    EXPECT_EQ(texts(row(21)), (QStringList{"Phone: 555-0100", "Relationship: Sister"}));
    EXPECT_EQ(widths(row(21)), (std::vector<int>{3360, 6720}));
    EXPECT_EQ(alignments(row(21)), (std::vector{Centre, Centre}));

    EXPECT_EQ(texts(row(36)), (QStringList{"Phone: ", "E-mail: ", "Fax: "}));
    EXPECT_EQ(widths(row(33)), (std::vector<int>{6720, 3360}));
}

TEST_F(BuiltinForm, ReferenceStatementAndSignatureRowsEndTheForm)
{
    EXPECT_EQ(texts(row(38)), (QStringList{"Name: Cy", "Address: 9 Oak", "Phone: 555-0199"}));
    EXPECT_EQ(alignments(row(38)), (std::vector{Centre, Top, Top}));
    for (int number : {39, 40}) {
        EXPECT_EQ(texts(row(number)), (QStringList{"", "", ""})) << number;
        EXPECT_EQ(widths(row(number)), (std::vector<int>{3360, 3360, 3360})) << number;
        EXPECT_EQ(alignments(row(number)), (std::vector{Top, Top, Top})) << number;
        EXPECT_EQ(std::tuple(row(number).heightRule, row(number).heightTwips), std::tuple(HeightRule::AtLeast, 288)) << number;
    }

    EXPECT_EQ(widths(row(41)), std::vector<int>{10080});
    EXPECT_TRUE(texts(row(41)).at(0).startsWith(QStringLiteral("I authorize the verification")));
    EXPECT_EQ(std::tuple(row(41).heightRule, row(41).heightTwips), std::tuple(HeightRule::Exactly, 504));

    EXPECT_EQ(texts(row(42)), (QStringList{"|Signature of applicant:", "|Date:"}));
    EXPECT_EQ(texts(row(43)), (QStringList{"|Signature of co-applicant:", "|Date:"}));
    for (int number : {42, 43}) {
        EXPECT_EQ(widths(row(number)), (std::vector<int>{6720, 3360})) << number;
        EXPECT_EQ(alignments(row(number)), (std::vector{Centre, Centre})) << number;
        EXPECT_EQ(std::tuple(row(number).heightRule, row(number).heightTwips), std::tuple(HeightRule::Exactly, 504)) << number;
    }
}

} // namespace
