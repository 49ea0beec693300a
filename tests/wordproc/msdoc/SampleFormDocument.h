#pragma once
// A realistic one-page rental application form, built the way the generator lays it out: a US
// Letter page and one 43-row table of three 2.33 in columns with merged, shaded, bold, coloured,
// centred and fixed-height rows. Shared by the .doc tests.
#include "wordproc/model/DocumentModel.h"

#include <QStringList>

namespace sampleform {

using namespace wordproc;

inline constexpr int kColumn = 3360;
inline constexpr int kTableWidth = 3 * kColumn;
inline constexpr int kTitleHeight = 533;   // 0.37 in
inline constexpr int kHeadingHeight = 317; // 0.22 in
inline constexpr int kFieldHeight = 288;   // 0.2 in
inline constexpr int kFixedHeight = 504;   // 0.35 in
inline constexpr std::int32_t kTitleBackground = 14478320; // red 240, green 235, blue 220
inline constexpr std::int32_t kDarkRed = 153;
inline constexpr std::int32_t kWhite = 16777215;

inline CharFormat tahoma(int points, bool bold = false, std::int32_t colour = kAutoColour)
{
    return CharFormat{QStringLiteral("Tahoma"), 2 * points, bold, colour};
}

inline Paragraph textParagraph(const QString &text, const CharFormat &format, Alignment alignment = Alignment::Left)
{
    Paragraph paragraph;
    if (!text.isEmpty())
        paragraph.runs.push_back(Run{text, format});
    paragraph.markFormat = format;
    paragraph.alignment = alignment;
    return paragraph;
}

inline Cell textCell(int width, const QString &text, bool centred = true)
{
    Cell cell;
    cell.widthTwips = width;
    cell.verticalAlignment = centred ? VerticalAlignment::Centre : VerticalAlignment::Top;
    cell.paragraphs = {textParagraph(text, tahoma(8))};
    return cell;
}

// The label stands on the cell's second line: the first paragraph stays empty.
inline Cell signatureCell(int width, const QString &label)
{
    Cell cell = textCell(width, label);
    cell.paragraphs.insert(cell.paragraphs.begin(), textParagraph(QString(), tahoma(8)));
    return cell;
}

inline Row makeRow(std::vector<Cell> cells, HeightRule rule, int height)
{
    Row row;
    row.cells = std::move(cells);
    row.heightRule = rule;
    row.heightTwips = height;
    row.markFormat = tahoma(8);
    return row;
}

inline Row bannerRow(const QString &text, const CharFormat &format, std::int32_t background, Alignment alignment,
                     int height)
{
    Cell cell;
    cell.widthTwips = kTableWidth;
    cell.verticalAlignment = VerticalAlignment::Centre;
    cell.shading.background = background;
    cell.paragraphs = {textParagraph(text, format, alignment)};
    return makeRow({cell}, HeightRule::AtLeast, height);
}

inline Row headingRow(const QString &text)
{
    return bannerRow(text, tahoma(9, true, kWhite), 0, Alignment::Left, kHeadingHeight);
}

inline Row wholeRow(const QString &text)
{
    return makeRow({textCell(kTableWidth, text)}, HeightRule::AtLeast, kFieldHeight);
}

inline Row threeRow(const QString &a, const QString &b, const QString &c, bool centred = true)
{
    return makeRow({textCell(kColumn, a), textCell(kColumn, b, centred), textCell(kColumn, c, centred)},
                   HeightRule::AtLeast, kFieldHeight);
}

inline Row twoOneRow(const QString &wide, const QString &narrow)
{
    return makeRow({textCell(2 * kColumn, wide), textCell(kColumn, narrow, false)}, HeightRule::AtLeast, kFieldHeight);
}

inline Row oneTwoRow(const QString &narrow, const QString &wide)
{
    return makeRow({textCell(kColumn, narrow), textCell(2 * kColumn, wide)}, HeightRule::AtLeast, kFieldHeight);
}

inline Row blankRow()
{
    return makeRow({textCell(kColumn, {}, false), textCell(kColumn, {}, false), textCell(kColumn, {}, false)},
                   HeightRule::AtLeast, kFieldHeight);
}

inline Row signatureRow(const QString &label)
{
    return makeRow({signatureCell(2 * kColumn, label), signatureCell(kColumn, QStringLiteral("Date:"))},
                   HeightRule::Exactly, kFixedHeight);
}

inline void addResidence(std::vector<Row> &rows, const QString &which, const QString &address)
{
    rows.push_back(wholeRow(which + address));
    rows.push_back(threeRow(QStringLiteral("City: Springfield"), QStringLiteral("State: IL"),
                            QStringLiteral("Zip Code: 62704")));
    rows.push_back(threeRow(QStringLiteral("House: Own"), QStringLiteral("Monthly payment or rent: 1,250"),
                            QStringLiteral("How long? 6 years")));
}

inline void addEmployment(std::vector<Row> &rows, const QString &employer)
{
    rows.push_back(wholeRow(QStringLiteral("Current employer: ") + employer));
    rows.push_back(twoOneRow(QStringLiteral("Employer Address: 200 Commerce Plaza"), QStringLiteral("How long? 4 years")));
    rows.push_back(threeRow(QStringLiteral("Phone: 555-0142"), QStringLiteral("E-mail: hr@example.com"),
                            QStringLiteral("Fax: 555-0143")));
    rows.push_back(threeRow(QStringLiteral("City: Springfield"), QStringLiteral("State: IL"),
                            QStringLiteral("Zip Code: 62701")));
    rows.push_back(threeRow(QStringLiteral("Position: Engineer"), QStringLiteral("Salary: Hourly"),
                            QStringLiteral("Annual Income: 64,000")));
}

inline Document makeSampleFormDocument()
{
    Document document;
    document.page.topMargin = 864;
    document.page.bottomMargin = 864;
    document.page.leftMargin = 1080;
    document.page.rightMargin = 1080;
    document.page.headerDistance = 720;
    document.page.footerDistance = 720;

    std::vector<Row> rows;
    rows.push_back(bannerRow(QStringLiteral("Rental Application"), tahoma(16, true, kDarkRed), kTitleBackground,
                             Alignment::Centre, kTitleHeight));
    rows.push_back(headingRow(QStringLiteral("Applicant Information")));
    rows.push_back(wholeRow(QStringLiteral("Name: José Müller-Smith")));
    rows.push_back(threeRow(QStringLiteral("Date of birth: 04/12/1985"), QStringLiteral("SSN: 000-12-3456"),
                            QStringLiteral("Phone: 555-0100")));
    addResidence(rows, QStringLiteral("Current address: "), QStringLiteral("742 Evergreen Terrace"));
    addResidence(rows, QStringLiteral("Previous address: "), QStringLiteral("1313 Mockingbird Lane"));
    rows.push_back(headingRow(QStringLiteral("Employment Information")));
    addEmployment(rows, QStringLiteral("Acme Widgets"));
    rows.push_back(headingRow(QStringLiteral("Emergency Contact")));
    rows.push_back(wholeRow(QStringLiteral("Name of a person not residing with you: Ann Lee")));
    rows.push_back(wholeRow(QStringLiteral("Address: 12 Oak Street")));
    rows.push_back(threeRow(QStringLiteral("City: Shelbyville"), QStringLiteral("State: IL"),
                            QStringLiteral("Zip Code: 62565")));
    rows.push_back(oneTwoRow(QStringLiteral("Phone: 555-0199"), QStringLiteral("Relationship: Sister")));
    rows.push_back(headingRow(QStringLiteral("Co-applicant Information, if Married")));
    rows.push_back(wholeRow(QStringLiteral("Name: ")));
    rows.push_back(threeRow(QStringLiteral("Date of birth: "), QStringLiteral("SSN: "), QStringLiteral("Phone: ")));
    addResidence(rows, QStringLiteral("Current address: "), QString());
    addResidence(rows, QStringLiteral("Previous address: "), QString());
    rows.push_back(headingRow(QStringLiteral("Co-applicant Employment Information")));
    addEmployment(rows, QString());
    rows.push_back(headingRow(QStringLiteral("References")));
    rows.push_back(threeRow(QStringLiteral("Name: Bob Stone"), QStringLiteral("Address: 9 Elm Road"),
                            QStringLiteral("Phone: 555-0177"), false));
    rows.push_back(blankRow());
    rows.push_back(blankRow());
    Row statement = wholeRow(QStringLiteral("I authorize the verification of the information provided on this form as "
                                            "to my credit and employment. I have received a copy of this application."));
    statement.heightRule = HeightRule::Exactly;
    statement.heightTwips = kFixedHeight;
    rows.push_back(statement);
    rows.push_back(signatureRow(QStringLiteral("Signature of applicant:")));
    rows.push_back(signatureRow(QStringLiteral("Signature of co-applicant:")));

    Table table;
    table.rows = std::move(rows);
    document.body = {table, textParagraph(QString(), tahoma(8))};
    return document;
}

} // namespace sampleform
