#include "MainWindowLayout.h"

#include "record/RecordCatalogue.h"

#include "shell/TwipGrid.h"

#include <initializer_list>

namespace entry::mainwindow {
namespace {

// Window
constexpr Twips kClient{0, 0, 10440, 10305};
constexpr int kTabHeight = 520;
// The tab control's design height (9060) cannot hold its 520-high tab row above an 8655-high
// page; it reaches down to the window's bottom edge instead, so the frames at the foot of the
// pages keep their bottom borders.
constexpr Twips kTabControl{120, 1140, 10200, kClient.height - 1140};
constexpr int kPageLeft = 60;
constexpr int kPageWidth = 10080;
constexpr int kPageHeight = 8655;

// Every field is 375 high; its label shares its row line and ends just left of it, with the
// text right-aligned against the field. A label takes the room back to whatever stands before
// it in the row, so that long captions never run into the previous field.
constexpr int kFieldHeight = 375;
constexpr int kLabelGap = 45;        // label's right edge to its field
constexpr int kLabelLead = 30;       // previous control's right edge to the next label
constexpr int kFrameInset = 45;      // frame border to the first label of a row

// Rows of the applicant's and co-applicant's frames, 540 apart: the row above an option frame
// ends where that frame begins (750 + 375 = 1125, 1830 + 375 = 2205), and the fields beside it
// share the line of its options (top 225 inside the frame).
constexpr int kRow[] = {210, 750, 1290, 1830, 2370};
// The emergency contact's four rows share a lower frame, 495 apart.
constexpr int kContactRow[] = {255, 750, 1245, 1740};
constexpr int kReferenceRow = 255;

// Options inside their frames: first at 270, second at 1170, both at top 225.
constexpr int kOptionTop = 225;
constexpr int kOptionHeight = 285;
constexpr int kFirstOptionLeft = 270;
constexpr int kSecondOptionLeft = 1170;

struct Cell {
    QString field;               // a text field and its label ...
    int left = 0;
    int width = 0;
    const char *choiceKey = nullptr; // ... or an option frame holding a choice's two options
    Twips optionFrame{};
};

Cell field(record::FieldId id, int left, int width) { return Cell{id.name(), left, width, nullptr, {}}; }
Cell options(record::ChoiceId choice, Twips frame) { return Cell{QString(), 0, 0, choice.key, frame}; }

Placement place(ControlKind kind, const QString &name, const QString &parent, Twips rect,
                const QString &caption = QString(), int index = -1, bool shown = true, const QString &field = QString())
{
    return Placement{kind, name, parent, rect, caption, index, shown, field};
}

class Builder {
public:
    explicit Builder(Layout &layout) : m_layout(layout) {}

    void add(Placement placement) { m_layout.controls.push_back(std::move(placement)); }

    QString frame(const QString &parent, Twips rect, const QString &caption)
    {
        const QString name = frameName(++m_frames);
        add(place(ControlKind::Frame, name, parent, rect, caption));
        return name;
    }

    // One row of a container: labels and fields left to right, option frames where they stand.
    // `shift` moves the row sideways (rows placed on a page rather than inside a frame).
    void row(const QString &parent, int top, std::initializer_list<Cell> cells, int shift = 0, bool shown = true)
    {
        int previousRight = shift + kFrameInset - kLabelLead;
        for (const Cell &cell : cells) {
            if (cell.choiceKey) {
                optionFrame(parent, cell.choiceKey, cell.optionFrame);
                previousRight = cell.optionFrame.right();
                continue;
            }
            const record::TextFieldSpec *info = record::findTextField(cell.field);
            const int left = shift + cell.left;
            const int labelLeft = previousRight + kLabelLead;
            const int labelRight = left - kLabelGap;
            const int index = labelIndex(cell.field);
            add(place(ControlKind::Label, labelName(index), parent, {labelLeft, top, labelRight - labelLeft, kFieldHeight},
                 QString::fromUtf8(info->label), index, shown, cell.field));
            add(place(ControlKind::TextField, cell.field, parent, {left, top, cell.width, kFieldHeight},
                 QString(), -1, shown));
            previousRight = left + cell.width;
        }
    }

private:
    void optionFrame(const QString &parent, const char *choiceKey, Twips rect)
    {
        const record::ChoiceSpec *choice = record::findChoice(QLatin1String(choiceKey));
        const QString name = frame(parent, rect, QString::fromUtf8(choice->caption));
        // Each option takes the room up to the next one or to the frame's border.
        const int firstWidth = kSecondOptionLeft - kFirstOptionLeft;
        const int secondWidth = rect.width - kSecondOptionLeft - 30;
        add(place(ControlKind::Option, QLatin1String(choice->firstId), name,
             {kFirstOptionLeft, kOptionTop, firstWidth, kOptionHeight}, QString::fromUtf8(choice->firstWord)));
        add(place(ControlKind::Option, QLatin1String(choice->secondId), name,
             {kSecondOptionLeft, kOptionTop, secondWidth, kOptionHeight}, QString::fromUtf8(choice->secondWord)));
    }

    static int labelIndex(const QString &fieldId)
    {
        int index = 0;
        for (const record::TextFieldSpec &info : record::textFields()) {
            if (QLatin1String(info.id) == fieldId)
                return index;
            ++index;
        }
        return -1;
    }

    Layout &m_layout;
    int m_frames = 0;
};

// The applicant's and the co-applicant's tabs differ only in names and a few widths.
struct Residence {
    record::FieldId address, city, state, zipCode, monthlyPayment, howLong;
    record::ChoiceId house;
};

struct PersonTab {
    const char *page;
    record::FieldId name, dateOfBirth, ssn, phone;
    Residence residence[2]; // current, previous
    record::FieldId employer, employerAddress, empHowLong, empPhone, email, fax, empCity, empState, empZip,
        position, annualIncome;
    record::ChoiceId salary;
    int employmentHeight;
    int employmentLeft;  // where the employment fields start
    int employerWidth, employerAddressWidth, shortWidth; // shortWidth: phone, city and position
};

constexpr PersonTab kApplicant{
    "Picture2",
    record::field::AppInfoName, record::field::AppInfoDateOfBirth, record::field::AppInfoSSN, record::field::AppInfoPhone,
    {{record::field::AppInfoCurrentAddress, record::field::AppInfoCurrentCity, record::field::AppInfoCurrentState,
      record::field::AppInfoCurrentZipCode, record::field::AppInfoCurrentMonthlyPayment, record::field::AppInfoCurrentHowLong,
      record::choice::AppInfoCurrentHouse},
     {record::field::AppInfoPreviousAddress, record::field::AppInfoPreviousCity, record::field::AppInfoPreviousState,
      record::field::AppInfoPreviousZipCode, record::field::AppInfoPreviousMonthlyPayment, record::field::AppInfoPreviousHowLong,
      record::choice::AppInfoPreviousHouse}},
    record::field::AppInfoEmpInfoCurrentEmployer, record::field::AppInfoEmpInfoEmployerAddress, record::field::AppInfoEmpInfoHowLong,
    record::field::AppInfoEmpInfoPhone, record::field::AppInfoEmpInfoEmail, record::field::AppInfoEmpInfoFax, record::field::AppInfoEmpInfoCity,
    record::field::AppInfoEmpInfoState, record::field::AppInfoEmpInfoZip, record::field::AppInfoEmpInfoPosition,
    record::field::AppInfoEmpInfoAnnualIncome,
    record::choice::AppInfoEmpInfoSalary,
    2985, 1875, 7770, 5880, 1470,
};

constexpr PersonTab kCoApplicant{
    "Picture1_2",
    record::field::CoName, record::field::CoDateOfBirth, record::field::CoSSN, record::field::CoPhone,
    {{record::field::CoCurrentAddress, record::field::CoCurrentCity, record::field::CoCurrentState, record::field::CoCurrentZipCode,
      record::field::CoCurrentMonthlyPayment, record::field::CoCurrentHowLong, record::choice::CoCurrentHouse},
     {record::field::CoPreviousAddress, record::field::CoPreviousCity, record::field::CoPreviousState, record::field::CoPreviousZipCode,
      record::field::CoPreviousMonthlyPayment, record::field::CoPreviousHowLong, record::choice::CoPreviousHouse}},
    record::field::CoEmpInfoCurrentEmployer, record::field::CoEmpInfoEmployerAddress, record::field::CoEmpInfoHowLong,
    record::field::CoEmpInfoPhone, record::field::CoEmpInfoEmail, record::field::CoEmpInfoFax, record::field::CoEmpInfoCity,
    record::field::CoEmpInfoState, record::field::CoEmpInfoZipCode, record::field::CoEmpInfoPosition, record::field::CoEmpInfoAnnualIncome,
    record::choice::CoEmpInfoSalary,
    3075, 1755, 7890, 5910, 1590,
};

// Field columns of the personal and residence frames: the first column, a middle one, and the
// right edge every row ends on (180 inside the frame's right border).
constexpr int kFirstColumn = 1530;
constexpr int kMiddleColumn = 4800;
constexpr int kRightEdge = 9645;

void personTab(Builder &b, const PersonTab &p)
{
    const QString page = QLatin1String(p.page);
    const QString top = b.frame(page, {120, 0, 9825, 1410}, QString());
    b.row(top, kRow[0], {field(p.name, kFirstColumn, 8115)});
    b.row(top, kRow[1], {field(p.dateOfBirth, kFirstColumn, 1590), field(p.ssn, kMiddleColumn, 1590),
                         field(p.phone, kRightEdge - 1590, 1590)});

    const char *captions[] = {QT_TRANSLATE_NOOP("MainWindow", "Current"), QT_TRANSLATE_NOOP("MainWindow", "Previous")};
    const int tops[] = {1440, 3510};
    for (int i = 0; i < 2; ++i) {
        const QString residence = b.frame(page, {120, tops[i], 9825, 2040}, QLatin1String(captions[i]));
        const Residence &r = p.residence[i];
        b.row(residence, kRow[0], {field(r.address, kFirstColumn, 8115)});
        b.row(residence, kRow[1], {field(r.city, kFirstColumn, 1590), field(r.state, kMiddleColumn, 1590),
                                   field(r.zipCode, kRightEdge - 1545, 1545)});
        b.row(residence, kRow[2], {options(r.house, {180, 1125, 1995, 645}),
                                   field(r.monthlyPayment, kMiddleColumn, 1590),
                                   field(r.howLong, kRightEdge - 870, 870)});
    }

    const QString work = b.frame(page, {120, 5580, 9825, p.employmentHeight}, QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "Employment Information")));
    const int left = p.employmentLeft;
    b.row(work, kRow[0], {field(p.employer, left, p.employerWidth)});
    b.row(work, kRow[1], {field(p.employerAddress, left, p.employerAddressWidth),
                          field(p.empHowLong, kRightEdge - 870, 870)});
    b.row(work, kRow[2], {field(p.empPhone, left, p.shortWidth), field(p.email, kMiddleColumn, 1590),
                          field(p.fax, kRightEdge - 1590, 1590)});
    b.row(work, kRow[3], {field(p.empCity, left, p.shortWidth), field(p.empState, kMiddleColumn, 1590),
                          field(p.empZip, kRightEdge - 1590, 1590)});
    b.row(work, kRow[4], {field(p.position, left, p.shortWidth), options(p.salary, {4140, 2205, 2175, 645}),
                          field(p.annualIncome, kRightEdge - 1590, 1590)});
}

void otherTab(Builder &b)
{
    const QString page = QStringLiteral("Picture1_1");
    const QString contact = b.frame(page, {120, 0, 9870, 2265}, QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "Emergency Contact")));
    constexpr int right = 9690;
    b.row(contact, kContactRow[0], {field(record::field::NameOfPerson, right - 6075, 6075)});
    b.row(contact, kContactRow[1], {field(record::field::EmerConAddress, 1500, 8190)});
    b.row(contact, kContactRow[2], {field(record::field::EmerConCity, 1500, 1950), field(record::field::EmerConState, 4080, 825),
                                    field(record::field::EmerConZip, 5880, 1410), field(record::field::EmerConPhone, right - 1425, 1425)});
    b.row(contact, kContactRow[3], {field(record::field::Relationship, 1500, 8190)});

    const QString references = b.frame(page, {120, 2340, 9870, 780}, QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "References")));
    b.row(references, kReferenceRow, {field(record::field::Name1, 900, 2010), field(record::field::Address1, 4050, 3300),
                                      field(record::field::Phone1, right - 1290, 1290)});
    // The second and third references stand on the page below the frame, in the frame's columns,
    // and are never shown.
    constexpr int frameLeft = 120;
    b.row(page, 3150, {field(record::field::Name2, 900, 2010), field(record::field::Address2, 4050, 3300),
                       field(record::field::Phone2, right - 1290, 1290)}, frameLeft, false);
    b.row(page, 3645, {field(record::field::Name3, 900, 2010), field(record::field::Address3, 4050, 3300),
                       field(record::field::Phone3, right - 1290, 1290)}, frameLeft, false);
}

QStringList keyboardOrder()
{
    // The fields in the record's order, each residence's options after its zip code and each
    // employment's after its position; then the tab control and the buttons.
    QStringList order;
    for (const record::TextFieldSpec &info : record::textFields()) {
        const QString id = QLatin1String(info.id);
        order << id;
        for (const record::ChoiceSpec &choice : record::choices()) {
            const QString key = QLatin1String(choice.key);
            const QString prefix = key.left(key.lastIndexOf(QLatin1Char(' '))).remove(QLatin1Char(' '));
            const bool house = QLatin1String(choice.caption) == QLatin1String("House");
            const QString after = QStringLiteral("txt") + prefix + (house ? QStringLiteral("ZipCode") : QStringLiteral("Position"));
            if (id == after)
                order << QLatin1String(choice.firstId) << QLatin1String(choice.secondId);
        }
    }
    order << QStringLiteral("SSTab2") << QStringLiteral("PushButton1") << QStringLiteral("PushButton2")
          << QStringLiteral("PushButton3");
    return order;
}

Layout build()
{
    Layout layout;
    layout.client = kClient;
    layout.tabHeight = kTabHeight;
    layout.firstTab = 2;
    layout.tabCaptions = {QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "Applicant Information")), QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "Co-applicant Information")),
                          QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "Other Information"))};

    Builder b(layout);
    b.add(place(ControlKind::Button, QStringLiteral("PushButton1"), QString(), {120, 120, 10200, 400},
           QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "Start Creating Template"))));
    b.add(place(ControlKind::Button, QStringLiteral("PushButton2"), QString(), {120, 630, 5040, 405},
           QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "Help"))));
    b.add(place(ControlKind::Button, QStringLiteral("PushButton3"), QString(), {5280, 630, 5040, 405},
           QStringLiteral(QT_TRANSLATE_NOOP("MainWindow", "Load Sample/Example Data"))));
    b.add(place(ControlKind::TabControl, QStringLiteral("SSTab2"), QString(), kTabControl));
    const char *pages[] = {"Picture2", "Picture1_2", "Picture1_1"};
    for (int tab = 0; tab < 3; ++tab)
        b.add(place(ControlKind::Page, QLatin1String(pages[tab]), QStringLiteral("SSTab2"),
               {kPageLeft, kTabHeight, kPageWidth, kPageHeight}, layout.tabCaptions[tab], tab));

    personTab(b, kApplicant);
    personTab(b, kCoApplicant);
    otherTab(b);
    layout.tabOrder = keyboardOrder();
    return layout;
}

} // namespace

QRect toPixels(const Twips &rect)
{
    return shell::twipsToPixels(rect.left, rect.top, rect.width, rect.height);
}

const Layout &mainWindowLayout()
{
    static const Layout layout = build();
    return layout;
}

const Placement *Layout::find(const QString &name) const
{
    for (const Placement &placement : controls)
        if (placement.name == name)
            return &placement;
    return nullptr;
}

int Layout::tabRowPixels() const
{
    const Placement *control = find(QStringLiteral("SSTab2"));
    const Placement *page = ofKind(ControlKind::Page).front();
    return std::min(shell::twipsToPixels(tabHeight),
                    shell::twipsToPixels(control->rect.height) - shell::twipsToPixels(page->rect.height));
}

std::vector<const Placement *> Layout::ofKind(ControlKind kind) const
{
    std::vector<const Placement *> found;
    for (const Placement &placement : controls)
        if (placement.kind == kind)
            found.push_back(&placement);
    return found;
}

QString fieldTitle(const QString &settingsKey)
{
    const Layout &layout = mainWindowLayout();
    const record::TextFieldSpec *spec = nullptr;
    for (const record::TextFieldSpec &field : record::textFields())
        if (settingsKey == QLatin1String(field.key))
            spec = &field;
    const Placement *place = spec ? layout.find(QLatin1String(spec->id)) : nullptr;
    if (!place)
        return settingsKey;
    QStringList where;
    for (const Placement *up = layout.find(place->parent); up; up = layout.find(up->parent))
        if ((up->kind == ControlKind::Frame || up->kind == ControlKind::Page) && !up->caption.isEmpty())
            where.prepend(up->caption);
    QString label = QString::fromUtf8(spec->label);
    if (label.endsWith(QLatin1Char(':')))
        label.chop(1);
    return where.isEmpty() ? label : where.join(QStringLiteral(", ")) + QStringLiteral(": ") + label;
}

QString frameName(int number) { return QStringLiteral("Frame%1").arg(number); }
QString labelName(int index) { return QStringLiteral("Label1_%1").arg(index); }

} // namespace entry::mainwindow
