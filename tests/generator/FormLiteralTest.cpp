// The form as the user gets it, checked against a copy written out here by hand: every row's
// cells, texts, merges, heights, shading, fonts and alignment. Nothing below is taken from the
// generator's own row table, so a swapped row, a wrong label or a wrong look fails here.
#include "ScriptedMessageBoxes.h"
#include "entry/RecordWidgets.h"
#include "generator/RentalApplication.h"
#include "automation/WordAutomation.h"
#include "wordproc/engine/BuiltinEngine.h"
#include "wordproc/msdoc/DocReader.h"
#include "wordproc/editing/Editor.h"
#include "RecordingGenerationHost.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

using namespace generator;

namespace {

enum class Kind { Title, Heading, Field, Blank, Statement, Signature };

struct ExpectedCell {
    int span;           // in thirds of the row
    const char *text;   // label, or the whole fixed text
    const char *field;  // the text field whose text follows the label; "" for none
    bool centred = true;
};

struct ExpectedRow {
    Kind kind;
    std::vector<ExpectedCell> cells;
};

ExpectedCell whole(const char *text, const char *field = "") { return {3, text, field}; }
ExpectedCell third(const char *text, const char *field = "", bool centred = true) { return {1, text, field, centred}; }
ExpectedCell twoThirds(const char *text, const char *field = "") { return {2, text, field}; }

// Every text field holds its own identifier, every choice its second option (Rent, Salary).
const std::vector<ExpectedRow> &expectedRows()
{
    static const std::vector<ExpectedRow> rows = {
        {Kind::Title, {whole("Rental Application")}},
        {Kind::Heading, {whole("Applicant Information")}},
        {Kind::Field, {whole("Name: ", "txtAppInfoName")}},
        {Kind::Field, {third("Date of birth: ", "txtAppInfoDateOfBirth"), third("SSN: ", "txtAppInfoSSN"),
                       third("Phone: ", "txtAppInfoPhone")}},
        {Kind::Field, {whole("Current address: ", "txtAppInfoCurrentAddress")}},
        {Kind::Field, {third("City: ", "txtAppInfoCurrentCity"), third("State: ", "txtAppInfoCurrentState"),
                       third("Zip Code: ", "txtAppInfoCurrentZipCode")}},
        {Kind::Field, {third("House: Rent"), third("Monthly payment or rent: ", "txtAppInfoCurrentMonthlyPayment"),
                       third("How long? ", "txtAppInfoCurrentHowLong")}},
        {Kind::Field, {whole("Previous address: ", "txtAppInfoPreviousAddress")}},
        {Kind::Field, {third("City: ", "txtAppInfoPreviousCity"), third("State: ", "txtAppInfoPreviousState"),
                       third("Zip Code: ", "txtAppInfoPreviousZipCode")}},
        {Kind::Field, {third("House: Rent"), third("Monthly payment or rent: ", "txtAppInfoPreviousMonthlyPayment"),
                       third("How long? ", "txtAppInfoPreviousHowLong")}},
        {Kind::Heading, {whole("Employment Information")}},
        {Kind::Field, {whole("Current employer: ", "txtAppInfoEmpInfoCurrentEmployer")}},
        {Kind::Field, {twoThirds("Employer Address: ", "txtAppInfoEmpInfoEmployerAddress"),
                       third("How long? ", "txtAppInfoEmpInfoHowLong", false)}},
        {Kind::Field, {third("Phone: ", "txtAppInfoEmpInfoPhone"), third("E-mail: ", "txtAppInfoEmpInfoEmail"),
                       third("Fax: ", "txtAppInfoEmpInfoFax")}},
        {Kind::Field, {third("City: ", "txtAppInfoEmpInfoCity"), third("State: ", "txtAppInfoEmpInfoState"),
                       third("Zip Code: ", "txtAppInfoEmpInfoZip")}},
        {Kind::Field, {third("Position: ", "txtAppInfoEmpInfoPosition"), third("Salary: Salary"),
                       third("Annual Income: ", "txtAppInfoEmpInfoAnnualIncome")}},
        {Kind::Heading, {whole("Emergency Contact")}},
        {Kind::Field, {whole("Name of a person not residing with you: ", "txtNameOfPerson")}},
        {Kind::Field, {whole("Address: ", "txtEmerConAddress")}},
        {Kind::Field, {third("City: ", "txtEmerConCity"), third("State: ", "txtEmerConState"),
                       third("Zip Code: ", "txtEmerConZip")}},
        {Kind::Field, {third("Phone: ", "txtEmerConPhone"), twoThirds("Relationship: ", "txtRelationship")}},
        {Kind::Heading, {whole("Co-applicant Information, if Married")}},
        {Kind::Field, {whole("Name: ", "txtCoName")}},
        {Kind::Field, {third("Date of birth: ", "txtCoDateOfBirth"), third("SSN: ", "txtCoSSN"),
                       third("Phone: ", "txtCoPhone")}},
        {Kind::Field, {whole("Current address: ", "txtCoCurrentAddress")}},
        {Kind::Field, {third("City: ", "txtCoCurrentCity"), third("State: ", "txtCoCurrentState"),
                       third("Zip Code: ", "txtCoCurrentZipCode")}},
        {Kind::Field, {third("House: Rent"), third("Monthly payment or rent: ", "txtCoCurrentMonthlyPayment"),
                       third("How long? ", "txtCoCurrentHowLong")}},
        {Kind::Field, {whole("Previous address: ", "txtCoPreviousAddress")}},
        {Kind::Field, {third("City: ", "txtCoPreviousCity"), third("State: ", "txtCoPreviousState"),
                       third("Zip Code: ", "txtCoPreviousZipCode")}},
        {Kind::Field, {third("House: Rent"), third("Monthly payment or rent: ", "txtCoPreviousMonthlyPayment"),
                       third("How long? ", "txtCoPreviousHowLong")}},
        {Kind::Heading, {whole("Co-applicant Employment Information")}},
        {Kind::Field, {whole("Current employer: ", "txtCoEmpInfoCurrentEmployer")}},
        {Kind::Field, {twoThirds("Employer Address: ", "txtCoEmpInfoEmployerAddress"),
                       third("How long? ", "txtCoEmpInfoHowLong", false)}},
        {Kind::Field, {third("Phone: ", "txtCoEmpInfoPhone"), third("E-mail: ", "txtCoEmpInfoEmail"),
                       third("Fax: ", "txtCoEmpInfoFax")}},
        {Kind::Field, {third("City: ", "txtCoEmpInfoCity"), third("State: ", "txtCoEmpInfoState"),
                       third("Zip Code: ", "txtCoEmpInfoZipCode")}},
        {Kind::Field, {third("Position: ", "txtCoEmpInfoPosition"), third("Salary: Salary"),
                       third("Annual Income: ", "txtCoEmpInfoAnnualIncome")}},
        {Kind::Heading, {whole("References")}},
        {Kind::Field, {third("Name: ", "txtName1"), third("Address: ", "txtAddress1", false),
                       third("Phone: ", "txtPhone1", false)}},
        {Kind::Blank, {third("", "", false), third("", "", false), third("", "", false)}},
        {Kind::Blank, {third("", "", false), third("", "", false), third("", "", false)}},
        {Kind::Statement, {whole("I authorize the verification of the information provided on this form as to my "
                                 "credit and employment. I have received a copy of this application.")}},
        {Kind::Signature, {twoThirds("\rSignature of applicant:"), third("\rDate:")}},
        {Kind::Signature, {twoThirds("\rSignature of co-applicant:"), third("\rDate:")}},
    };
    return rows;
}

struct Look {
    wordproc::HeightRule rule;
    int heightTwips;
    wordproc::CharFormat font;
    wordproc::Alignment alignment;
    wordproc::Shading shading;
};

Look lookOf(Kind kind)
{
    using wordproc::Alignment;
    using wordproc::HeightRule;
    const wordproc::CharFormat plain{QStringLiteral("Tahoma"), 16, false, wordproc::kAutoColour};
    const wordproc::Shading none{};
    switch (kind) {
    case Kind::Title:
        return {HeightRule::AtLeast, 533, {QStringLiteral("Tahoma"), 32, true, 153}, Alignment::Centre,
                {0, wordproc::kAutoColour, 14478320}};
    case Kind::Heading:
        return {HeightRule::AtLeast, 317, {QStringLiteral("Tahoma"), 18, true, 16777215}, Alignment::Left,
                {0, wordproc::kAutoColour, 0}};
    case Kind::Field:
    case Kind::Blank: return {HeightRule::AtLeast, 288, plain, Alignment::Left, none};
    case Kind::Statement:
    case Kind::Signature: return {HeightRule::Exactly, 504, plain, Alignment::Left, none};
    }
    return {};
}

QString textOf(const wordproc::Cell &cell)
{
    QStringList paragraphs;
    for (const wordproc::Paragraph &paragraph : cell.paragraphs)
        paragraphs << paragraph.text();
    return paragraphs.join(QLatin1Char('\r'));
}

void expectTheForm(const wordproc::Document &document, const char *where)
{
    SCOPED_TRACE(where);
    const wordproc::PageSetup &page = document.page;
    EXPECT_EQ(page.pageWidth, 12240);
    EXPECT_EQ(page.pageHeight, 15840);
    EXPECT_EQ(page.topMargin, 864);
    EXPECT_EQ(page.bottomMargin, 864);
    EXPECT_EQ(page.leftMargin, 1080);
    EXPECT_EQ(page.rightMargin, 1080);
    EXPECT_EQ(page.gutter, 0);
    EXPECT_EQ(page.headerDistance, 720);
    EXPECT_EQ(page.footerDistance, 720);
    EXPECT_FALSE(page.landscape);

    // Nothing outside the table but the document's final paragraph.
    ASSERT_EQ(document.body.size(), 2u);
    const auto *table = std::get_if<wordproc::Table>(&document.body[0]);
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(std::get<wordproc::Paragraph>(document.body[1]).text().isEmpty());
    EXPECT_EQ(table->style, QStringLiteral("Table Grid"));
    EXPECT_TRUE(table->gridBorders);

    const auto &rows = expectedRows();
    ASSERT_EQ(rows.size(), 43u);
    ASSERT_EQ(table->rows.size(), 43u);
    for (size_t r = 0; r < rows.size(); ++r) {
        SCOPED_TRACE("row " + std::to_string(r + 1));
        const ExpectedRow &expected = rows[r];
        const wordproc::Row &row = table->rows[r];
        const Look look = lookOf(expected.kind);
        EXPECT_EQ(row.heightRule, look.rule);
        EXPECT_EQ(row.heightTwips, look.heightTwips);
        ASSERT_EQ(row.cells.size(), expected.cells.size());
        for (size_t c = 0; c < row.cells.size(); ++c) {
            SCOPED_TRACE("cell " + std::to_string(c + 1));
            const ExpectedCell &want = expected.cells[c];
            const wordproc::Cell &cell = row.cells[c];
            EXPECT_EQ(cell.widthTwips, want.span * 3360);
            EXPECT_EQ(textOf(cell), QString::fromUtf8(want.text) + QLatin1String(want.field));
            EXPECT_EQ(cell.verticalAlignment,
                      want.centred ? wordproc::VerticalAlignment::Centre : wordproc::VerticalAlignment::Top);
            EXPECT_EQ(cell.shading, look.shading);
            for (const wordproc::Paragraph &paragraph : cell.paragraphs) {
                EXPECT_EQ(paragraph.alignment, look.alignment);
                EXPECT_EQ(paragraph.markFormat, look.font);
                for (const wordproc::Run &run : paragraph.runs)
                    EXPECT_EQ(run.format, look.font) << run.text.toStdString();
            }
        }
    }
}

// Every field holds its own control's name, and every choice its second option: no two cells
// can be mistaken for each other.
void fillWithNames(testsupport::RecordingGenerationHost &host)
{
    for (QLineEdit *edit : host.owner.findChildren<QLineEdit *>())
        edit->setText(edit->objectName());
    for (const char *second : {"optAppInfoCurrentRent", "optAppInfoPreviousRent", "optAppInfoEmpInfoSalary",
                               "optCoCurrentRent", "optCoPreviousRent", "optCoEmpInfoSalary"})
        host.widgets.option(QLatin1String(second))->setChecked(true);
}

TEST(FormLiteral, EngineBuildsAndTheSavedFileHoldsEveryRowAsDesigned)
{
    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes scope{boxes};
    QTemporaryDir temp;
    wordproc::BuiltinApplicationFactory factory{temp.filePath(QStringLiteral("engine.lock"))};
    testsupport::RecordingGenerationHost host;
    fillWithNames(host);
    ASSERT_EQ(host.owner.findChildren<QLineEdit *>().size(), 70);

    std::shared_ptr<automation::Application> app;
    const auto doc = buildRentalApplication(factory, host.widgets, app);
    ASSERT_TRUE(doc && app);
    expectTheForm(wordproc::builtinEditor(*doc).document(), "built by the engine");
    app->quit();

    generateRentalApplication(factory, host, {temp.path(), {}});
    EXPECT_TRUE(boxes.shown.empty());
    expectTheForm(wordproc::readDoc(host.wordFile), "read back from the saved file");
}

} // namespace
