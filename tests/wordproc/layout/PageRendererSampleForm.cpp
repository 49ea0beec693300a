#include "PageRendererSampleForm.h"

using namespace wordproc;

namespace sampleform {

namespace {

constexpr int kFieldHeight = 288;   // at least 0.2 in
constexpr int kHeadingHeight = 317; // at least 0.22 in
constexpr int kTitleHeight = 533;   // at least 0.37 in
constexpr int kSignHeight = 504;    // exactly 0.35 in
constexpr auto Top = VerticalAlignment::Top;

Row whole(const QString &text)
{
    return row(HeightRule::AtLeast, kFieldHeight, {cell(kTableWidth, text)});
}

Row three(const QString &a, const QString &b, const QString &c, VerticalAlignment third = VerticalAlignment::Centre)
{
    return row(HeightRule::AtLeast, kFieldHeight, {cell(kColumn, a), cell(kColumn, b), cell(kColumn, c, tahoma(8), third)});
}

Row twoOne(const QString &a, const QString &b)
{
    return row(HeightRule::AtLeast, kFieldHeight, {cell(2 * kColumn, a), cell(kColumn, b, tahoma(8), Top)});
}

Row oneTwo(const QString &a, const QString &b)
{
    return row(HeightRule::AtLeast, kFieldHeight, {cell(kColumn, a), cell(2 * kColumn, b)});
}

Row heading(const QString &text)
{
    Row heading = row(HeightRule::AtLeast, kHeadingHeight, {cell(kTableWidth, text, tahoma(9, true, 0xFFFFFF))});
    heading.cells[0].shading.background = 0;
    return heading;
}

Row signature(const QString &label)
{
    Row signature = row(HeightRule::Exactly, kSignHeight, {cell(2 * kColumn, label), cell(kColumn, QStringLiteral("Date:"))});
    for (Cell &cell : signature.cells)
        cell.paragraphs.insert(cell.paragraphs.begin(), Paragraph{{}, tahoma(8), Alignment::Left});
    return signature;
}

std::vector<Row> personRows(const QString &name, const QString &phone)
{
    return {
        whole("Name: " + name),
        three("Date of birth: 03/14/1986", "SSN: 123-45-6789", "Phone: " + phone),
        whole(QStringLiteral("Current address: 1742 Quillfeather Lane, Apt. 5B")),
        three("City: Bramblewood", "State: OR", "Zip Code: 97035"),
        three("House: Rent", "Monthly payment or rent: $1,450", "How long? 3 years"),
        whole(QStringLiteral("Previous address: 88 Hollowmere Court")),
        three("City: Fenwick Falls", "State: WA", "Zip Code: 98660"),
        three("House: Own", "Monthly payment or rent: $980", "How long? 5 years"),
    };
}

std::vector<Row> employmentRows(const QString &employer)
{
    return {
        whole("Current employer: " + employer),
        twoOne("Employer Address: 400 Tinsmith Boulevard, Suite 1200", "How long? 6 years"),
        three("Phone: (503) 555-0188", "E-mail: d.pellwick@example.com", "Fax: (503) 555-0189"),
        three("City: Bramblewood", "State: OR", "Zip Code: 97035"),
        three("Position: Senior Cartographer", "Salary: Salary", "Annual Income: $84,500"),
    };
}

} // namespace

CharFormat tahoma(int points, bool bold, std::int32_t colour)
{
    return CharFormat{QStringLiteral("Tahoma"), points * 2, bold, colour};
}

Cell cell(int width, const QString &text, const CharFormat &format, VerticalAlignment vertical)
{
    Cell cell;
    cell.widthTwips = width;
    cell.verticalAlignment = vertical;
    Paragraph paragraph;
    paragraph.markFormat = format;
    if (!text.isEmpty())
        paragraph.runs.push_back(Run{text, format});
    cell.paragraphs = {paragraph};
    return cell;
}

Row row(HeightRule rule, int height, std::vector<Cell> cells)
{
    Row row;
    row.heightRule = rule;
    row.heightTwips = height;
    row.cells = std::move(cells);
    row.markFormat = tahoma(8);
    return row;
}

Document document()
{
    Document document;
    document.page.topMargin = document.page.bottomMargin = 864;
    document.page.leftMargin = document.page.rightMargin = 1080;

    Table table;
    const CharFormat titleFormat = tahoma(16, true, 153);
    Row title = row(HeightRule::AtLeast, kTitleHeight, {cell(kTableWidth, QStringLiteral("Rental Application"), titleFormat)});
    title.cells[0].shading.background = 14478320;
    title.cells[0].paragraphs[0].alignment = Alignment::Centre;
    auto add = [&](std::vector<Row> rows) { table.rows.insert(table.rows.end(), rows.begin(), rows.end()); };

    add({title, heading(QStringLiteral("Applicant Information"))});
    add(personRows(QStringLiteral("Dorian Pellwick Jr."), QStringLiteral("(503) 555-0142")));
    add({heading(QStringLiteral("Employment Information"))});
    add(employmentRows(QStringLiteral("Northgate Survey & Mapping Co.")));
    add({heading(QStringLiteral("Emergency Contact")),
         whole(QStringLiteral("Name of a person not residing with you: Marguerite Ashdown")),
         whole(QStringLiteral("Address: 19 Larkspur Row")),
         three("City: Millbrook", "State: OR", "Zip Code: 97201"),
         oneTwo("Phone: (503) 555-0123", "Relationship: Sister"),
         heading(QStringLiteral("Co-applicant Information, if Married"))});
    add(personRows(QStringLiteral("Elspeth Pellwick"), QStringLiteral("(503) 555-0143")));
    add({heading(QStringLiteral("Co-applicant Employment Information"))});
    add(employmentRows(QStringLiteral("Riverside Community Hospital")));
    Row reference = three("Name: Tobias Wrenfield", "Address: 5 Elm Street, Bramblewood", "Phone: (503) 555-0177", Top);
    reference.cells[1].verticalAlignment = Top;
    Row blank = three({}, {}, {}, Top);
    for (Cell &cell : blank.cells)
        cell.verticalAlignment = Top;
    add({heading(QStringLiteral("References")), reference, blank, blank});
    Row statement = row(HeightRule::Exactly, kSignHeight,
                        {cell(kTableWidth, QStringLiteral("I authorize the verification of the information provided on this form as "
                                                          "to my credit and employment. I have received a copy of this application."))});
    add({statement, signature(QStringLiteral("Signature of applicant:")), signature(QStringLiteral("Signature of co-applicant:"))});

    document.body = {table, Paragraph{{}, tahoma(8), Alignment::Left}};
    return document;
}

} // namespace sampleform
