// The record as the user knows it, written out here by hand: the 70 text fields and 6 choices with
// their labels, settings keys and sample values, and the order in which the sample fills them.
// Checked against the catalogue and, through a real window and store, against what is stored.
#include "ScriptedMessageBoxes.h"
#include "record/RecordCatalogue.h"
#include "entry/RecordPersistence.h"
#include "entry/SampleData.h"
#include "runtime/ErrorTrap.h"
#include "record/SettingsStore.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace entry;
using namespace record;

namespace {

enum class Sample { Value, CopyOf, Untouched };

struct SampleSpec {
    Sample kind;
    const char *value;
};
constexpr SampleSpec value(const char *text) { return {Sample::Value, text}; }
constexpr SampleSpec copyOf(const char *id) { return {Sample::CopyOf, id}; }
constexpr SampleSpec untouched() { return {Sample::Untouched, ""}; }

struct FieldRow {
    const char *id;
    const char *label;
    const char *key;
    SampleSpec sample;
};

const FieldRow kFields[] = {
    {"txtAppInfoName", "Name:", "App Info Name", value("Dorian Pellwick Jr.")},
    {"txtAppInfoDateOfBirth", "Date of Birth:", "App Info Date Of Birth", value("17 June 1978")},
    {"txtAppInfoSSN", "SSN:", "App Info SSN", value("")},
    {"txtAppInfoPhone", "Phone:", "App Info Phone", value("")},
    {"txtAppInfoCurrentAddress", "Address:", "App Info Current Address", value("Elm Street")},
    {"txtAppInfoCurrentCity", "City:", "App Info Current City", value("Holderness")},
    {"txtAppInfoCurrentState", "State:", "App Info Current State", value("NH")},
    {"txtAppInfoCurrentZipCode", "Zip Code:", "App Info Current Zip Code", value("03245")},
    {"txtAppInfoCurrentMonthlyPayment", "Monthly Payment or Rent:", "App Info Current Monthly Payment", value("500")},
    {"txtAppInfoCurrentHowLong", "How Long:", "App Info Current How Long", value("2 years")},
    {"txtAppInfoPreviousAddress", "Address:", "App Info Previous Address", value("Birchwood dr")},
    {"txtAppInfoPreviousCity", "City:", "App Info Previous City", value("Holderness")},
    {"txtAppInfoPreviousState", "State:", "App Info Previous State", value("NH")},
    {"txtAppInfoPreviousZipCode", "Zip Code:", "App Info Previous Zip Code", value("03245")},
    {"txtAppInfoPreviousMonthlyPayment", "Monthly Payment or Rent:", "App Info Previous Monthly Payment", value("400")},
    {"txtAppInfoPreviousHowLong", "How Long:", "App Info Previous How Long", value("3 years")},
    {"txtAppInfoEmpInfoCurrentEmployer", "Current Employer:", "App Info Emp Info Current Employer", value("ACME Inc")},
    {"txtAppInfoEmpInfoEmployerAddress", "Employer Address:", "App Info Emp Info Employer Address", value("West 18 street")},
    {"txtAppInfoEmpInfoHowLong", "How Long:", "App Info Emp Info How Long", value("6 years")},
    {"txtAppInfoEmpInfoPhone", "Phone:", "App Info Emp Info Phone", value("")},
    {"txtAppInfoEmpInfoEmail", "Email:", "App Info Emp Info Email", value("")},
    {"txtAppInfoEmpInfoFax", "Fax:", "App Info Emp Info Fax", value("")},
    {"txtAppInfoEmpInfoCity", "City:", "App Info Emp Info City", value("Holderness")},
    {"txtAppInfoEmpInfoState", "State:", "App Info Emp Info State", value("NH")},
    {"txtAppInfoEmpInfoZip", "Zip Code:", "App Info Emp Info Zip", value("03245")},
    {"txtAppInfoEmpInfoPosition", "Position:", "App Info Emp Info Position", value("Junior developer")},
    {"txtAppInfoEmpInfoAnnualIncome", "Annual Income:", "App Info Emp Info Annual Income", value("20 000")},
    {"txtCoName", "Name:", "Co Name", value("Marla Pellwick-Ostrand")},
    {"txtCoDateOfBirth", "Date of Birth:", "Co Date Of Birth", value("14 December 1977")},
    {"txtCoSSN", "SSN:", "Co SSN", value("")},
    {"txtCoPhone", "Phone:", "Co Phone", value("")},
    {"txtCoCurrentAddress", "Address:", "Co Current Address", copyOf("txtAppInfoCurrentAddress")},
    {"txtCoCurrentCity", "City:", "Co Current City", copyOf("txtAppInfoCurrentCity")},
    {"txtCoCurrentState", "State:", "Co Current State", copyOf("txtAppInfoCurrentState")},
    {"txtCoCurrentZipCode", "Zip Code:", "Co Current Zip Code", copyOf("txtAppInfoCurrentZipCode")},
    {"txtCoCurrentMonthlyPayment", "Monthly Payment or Rent:", "Co Current Monthly Payment", value("")},
    {"txtCoCurrentHowLong", "How Long:", "Co Current How Long", copyOf("txtAppInfoCurrentHowLong")},
    {"txtCoPreviousAddress", "Address:", "Co Previous Address", copyOf("txtAppInfoPreviousAddress")},
    {"txtCoPreviousCity", "City:", "Co Previous City", copyOf("txtAppInfoPreviousCity")},
    {"txtCoPreviousState", "State:", "Co Previous State", copyOf("txtAppInfoPreviousState")},
    {"txtCoPreviousZipCode", "Zip Code:", "Co Previous Zip Code", copyOf("txtAppInfoPreviousZipCode")},
    {"txtCoPreviousMonthlyPayment", "Monthly Payment or Rent:", "Co Previous Monthly Payment", copyOf("txtAppInfoPreviousMonthlyPayment")},
    {"txtCoPreviousHowLong", "How Long:", "Co Previous How Long", copyOf("txtAppInfoPreviousHowLong")},
    {"txtCoEmpInfoCurrentEmployer", "Current Employer:", "Co Emp Info Current Employer", value("EMCA Co.")},
    {"txtCoEmpInfoEmployerAddress", "Employer Address:", "Co Emp Info Employer Address", value("South 7 Avenue")},
    {"txtCoEmpInfoHowLong", "How Long:", "Co Emp Info How Long", value("3 years")},
    {"txtCoEmpInfoPhone", "Phone:", "Co Emp Info Phone", value("")},
    {"txtCoEmpInfoEmail", "Email:", "Co Emp Info Email", value("")},
    {"txtCoEmpInfoFax", "Fax:", "Co Emp Info Fax", value("")},
    {"txtCoEmpInfoCity", "City:", "Co Emp Info City", value("Holderness")},
    {"txtCoEmpInfoState", "State:", "Co Emp Info State", value("NH")},
    {"txtCoEmpInfoZipCode", "Zip Code:", "Co Emp Info Zip Code", value("03245")},
    {"txtCoEmpInfoPosition", "Position:", "Co Emp Info Position", value("Office manager")},
    {"txtCoEmpInfoAnnualIncome", "Annual Income:", "Co Emp Info Annual Income", value("18 000")},
    {"txtNameOfPerson", "Name of person not residing with you:", "Name Of Person", value("Tobin")},
    {"txtEmerConAddress", "Address:", "Emer Con Address", value("")},
    {"txtEmerConCity", "City:", "Emer Con City", copyOf("txtAppInfoCurrentCity")},
    {"txtEmerConState", "State:", "Emer Con State", copyOf("txtAppInfoCurrentState")},
    {"txtEmerConZip", "Zip Code:", "Emer Con Zip", copyOf("txtAppInfoCurrentZipCode")},
    {"txtEmerConPhone", "Phone:", "Emer Con Phone", value("")},
    {"txtRelationship", "Relationship:", "Relationship", value("Brother")},
    {"txtName1", "Name:", "Name1", untouched()},
    {"txtAddress1", "Address:", "Address1", untouched()},
    {"txtPhone1", "Phone:", "Phone1", untouched()},
    {"txtName2", "Name 2:", "Name2", untouched()},
    {"txtAddress2", "Address:", "Address2", untouched()},
    {"txtPhone2", "Phone:", "Phone2", untouched()},
    {"txtName3", "Name 3:", "Name3", untouched()},
    {"txtAddress3", "Address:", "Address3", untouched()},
    {"txtPhone3", "Phone:", "Phone3", untouched()},
};

struct ChoiceRow {
    const char *key;
    const char *caption;
    const char *firstId;
    const char *firstWord;
    const char *secondId;
    const char *secondWord;
    const char *sampleWord;
};

const ChoiceRow kChoices[] = {
    {"App Info Current House", "House", "optAppInfoCurrentOwn", "Own", "optAppInfoCurrentRent", "Rent", "Rent"},
    {"App Info Previous House", "House", "optAppInfoPreviousOwn", "Own", "optAppInfoPreviousRent", "Rent", "Rent"},
    {"App Info Emp Info Salary", "Salary", "optAppInfoEmpInfoHourly", "Hourly", "optAppInfoEmpInfoSalary", "Salary", "Hourly"},
    {"Co Current House", "House", "optCoCurrentOwn", "Own", "optCoCurrentRent", "Rent", "Rent"},
    {"Co Previous House", "House", "optCoPreviousOwn", "Own", "optCoPreviousRent", "Rent", "Rent"},
    {"Co Emp Info Salary", "Salary", "optCoEmpInfoHourly", "Hourly", "optCoEmpInfoSalary", "Salary", "Hourly"},
};

// The order in which "Load Sample/Example Data" assigns the fields, then selects the options.
const char *const kSampleOrder[] = {
    "txtAppInfoCurrentCity", "txtAppInfoCurrentHowLong", "txtAppInfoPhone", "txtAppInfoCurrentState",
    "txtAppInfoCurrentZipCode", "txtAppInfoCurrentAddress", "txtAppInfoDateOfBirth", "txtAppInfoEmpInfoAnnualIncome",
    "txtAppInfoEmpInfoCity", "txtAppInfoEmpInfoCurrentEmployer", "txtAppInfoEmpInfoEmail",
    "txtAppInfoEmpInfoEmployerAddress", "txtAppInfoEmpInfoFax", "txtAppInfoEmpInfoHowLong", "txtAppInfoEmpInfoPhone",
    "txtAppInfoEmpInfoPosition", "txtAppInfoEmpInfoState", "txtAppInfoEmpInfoZip", "txtAppInfoCurrentMonthlyPayment",
    "txtAppInfoName", "txtAppInfoSSN", "txtAppInfoPreviousAddress", "txtAppInfoPreviousCity",
    "txtAppInfoPreviousHowLong", "txtAppInfoPreviousMonthlyPayment", "txtAppInfoPreviousState",
    "txtAppInfoPreviousZipCode",
    "txtCoEmpInfoAnnualIncome", "txtCoEmpInfoCity", "txtCoEmpInfoCurrentEmployer", "txtCoEmpInfoEmail",
    "txtCoEmpInfoEmployerAddress", "txtCoEmpInfoFax", "txtCoEmpInfoHowLong", "txtCoEmpInfoPhone",
    "txtCoEmpInfoPosition", "txtCoEmpInfoState", "txtCoEmpInfoZipCode", "txtCoName", "txtCoPhone",
    "txtCoPreviousAddress", "txtCoPreviousCity", "txtCoPreviousHowLong", "txtCoPreviousMonthlyPayment",
    "txtCoPreviousState", "txtCoPreviousZipCode",
    "txtCoSSN", "txtCoCurrentAddress", "txtCoCurrentCity", "txtCoCurrentState", "txtCoCurrentZipCode",
    "txtCoDateOfBirth", "txtCoCurrentHowLong", "txtCoCurrentMonthlyPayment",
    "txtEmerConAddress", "txtEmerConCity", "txtEmerConPhone", "txtEmerConState", "txtEmerConZip", "txtNameOfPerson",
    "txtRelationship",
    "optCoCurrentRent", "optCoPreviousRent", "optCoEmpInfoHourly", "optAppInfoEmpInfoHourly",
    "optAppInfoCurrentRent", "optAppInfoPreviousRent",
};

const FieldRow &fieldRow(const QString &id)
{
    for (const FieldRow &row : kFields)
        if (id == QLatin1String(row.id))
            return row;
    throw std::logic_error("no such field in the literal table");
}

class RecordLiteral : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString storePath = dir.filePath(QStringLiteral("Marrowick.conf"));
    testsupport::ScriptedMessageBoxes boxes;
    runtime::ScopedMessageBoxes scope{boxes};
    QWidget owner;
    RecordWidgets widgets = createRecordControls(&owner);
    record::SettingsStore store{storePath};
    RecordPersistence persistence{widgets, store};

    void SetUp() override
    {
        persistence.bind();
        runtime::ErrorTrap trap(QStringLiteral("Form1"), QStringLiteral("Form_Load"));
        persistence.restore(trap);
    }
    QSettings stored() const { return QSettings(storePath, QSettings::IniFormat); }
    void loadSample()
    {
        runtime::ErrorTrap trap(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"));
        loadSampleData(widgets, trap);
    }
};

TEST_F(RecordLiteral, CatalogueHoldsEveryFieldWithItsLabelAndKeyLetterForLetter)
{
    ASSERT_EQ(std::size(kFields), 70u);
    ASSERT_EQ(textFields().size(), 70u);
    for (size_t i = 0; i < std::size(kFields); ++i) {
        const TextFieldSpec &field = textFields()[i];
        EXPECT_STREQ(field.id, kFields[i].id) << "field " << i;
        EXPECT_STREQ(field.label, kFields[i].label) << kFields[i].id;
        EXPECT_STREQ(field.key, kFields[i].key) << kFields[i].id;
    }
    ASSERT_EQ(choices().size(), 6u);
    for (size_t i = 0; i < std::size(kChoices); ++i) {
        const ChoiceRow &want = kChoices[i];
        const ChoiceSpec *choice = findChoice(QLatin1String(want.key));
        ASSERT_NE(choice, nullptr) << want.key;
        EXPECT_STREQ(choice->caption, want.caption) << want.key;
        EXPECT_STREQ(choice->firstId, want.firstId) << want.key;
        EXPECT_STREQ(choice->firstWord, want.firstWord) << want.key;
        EXPECT_STREQ(choice->secondId, want.secondId) << want.key;
        EXPECT_STREQ(choice->secondWord, want.secondWord) << want.key;
    }
}

TEST_F(RecordLiteral, SampleStoresEveryValueUnderItsKeyAndLeavesTheReferencesAlone)
{
    loadSample();
    EXPECT_TRUE(boxes.shown.empty());
    const QSettings settings = stored();
    const auto at = [&](const char *key) { return QStringLiteral("Tenvoria/") + QLatin1String(key); };
    for (const FieldRow &row : kFields) {
        switch (row.sample.kind) {
        case Sample::Value:
            EXPECT_EQ(widgets.textOf(QLatin1String(row.id)), QString::fromUtf8(row.sample.value)) << row.id;
            // A field the sample leaves empty on a fresh window never changed, so it wrote nothing.
            if (*row.sample.value) {
                EXPECT_EQ(settings.value(at(row.key)).toString(), QString::fromUtf8(row.sample.value)) << row.key;
            }
            break;
        case Sample::CopyOf: {
            const FieldRow &source = fieldRow(QLatin1String(row.sample.value));
            EXPECT_EQ(settings.value(at(row.key)).toString(), QString::fromUtf8(source.sample.value)) << row.key;
            break;
        }
        case Sample::Untouched: EXPECT_FALSE(settings.contains(at(row.key))) << row.key; break;
        }
    }
    for (const ChoiceRow &choice : kChoices) {
        const bool second = QLatin1String(choice.sampleWord) == QLatin1String(choice.secondWord);
        EXPECT_TRUE(widgets.isSelected(QLatin1String(second ? choice.secondId : choice.firstId))) << choice.key;
        if (second) {
            EXPECT_EQ(settings.value(at(choice.key)).toString(), QLatin1String(choice.sampleWord)) << choice.key;
        }
    }
}

TEST_F(RecordLiteral, SampleFillsAFreshWindowInItsOrderAndEveryCopySeesItsSourceFilled)
{
    // Every field and option starts away from its sample, so that each step of the sample changes it.
    for (const FieldRow &row : kFields)
        widgets.text(QLatin1String(row.id))->setText(QStringLiteral("before"));
    for (const ChoiceRow &choice : kChoices) {
        const bool second = QLatin1String(choice.sampleWord) == QLatin1String(choice.secondWord);
        widgets.option(QLatin1String(second ? choice.firstId : choice.secondId))->setChecked(true);
    }
    QStringList order;
    for (const FieldRow &row : kFields) {
        QLineEdit *edit = widgets.text(QLatin1String(row.id));
        QObject::connect(edit, &QLineEdit::textChanged, edit, [&order, id = row.id] { order << QLatin1String(id); });
    }
    for (const ChoiceRow &choice : kChoices)
        for (const char *id : {choice.firstId, choice.secondId}) {
            QRadioButton *option = widgets.option(QLatin1String(id));
            QObject::connect(option, &QRadioButton::toggled, option, [&order, id](bool on) {
                if (on)
                    order << QLatin1String(id);
            });
        }

    loadSample();
    QStringList expected;
    for (const char *id : kSampleOrder)
        expected << QLatin1String(id);
    EXPECT_EQ(order, expected);
    for (const FieldRow &row : kFields)
        if (row.sample.kind == Sample::CopyOf) {
            EXPECT_EQ(widgets.textOf(QLatin1String(row.id)),
                      QString::fromUtf8(fieldRow(QLatin1String(row.sample.value)).sample.value))
                << row.id;
        }
}

TEST_F(RecordLiteral, StoredChoiceWordsMatchOnlyInTheirExactCase)
{
    // A fresh window for each round: restore only ever starts from the initial options.
    for (const ChoiceRow &choice : kChoices) {
        const QString second = QLatin1String(choice.secondWord);
        for (const QString &variant : {second.toLower(), second.toUpper(), QLatin1Char(' ') + second}) {
            record::SettingsStore(storePath).write(QLatin1String(choice.key), variant);
            QWidget window;
            RecordWidgets restored = createRecordControls(&window);
            record::SettingsStore reread(storePath);
            RecordPersistence again(restored, reread);
            again.bind();
            runtime::ErrorTrap trap(QStringLiteral("Form1"), QStringLiteral("Form_Load"));
            again.restore(trap);
            EXPECT_TRUE(restored.isSelected(QLatin1String(choice.firstId))) << choice.key << " " << variant.toStdString();
            EXPECT_EQ(reread.read(QLatin1String(choice.key)), variant);
        }
        record::SettingsStore(storePath).write(QLatin1String(choice.key), second);
        QWidget window;
        RecordWidgets restored = createRecordControls(&window);
        record::SettingsStore reread(storePath);
        RecordPersistence again(restored, reread);
        runtime::ErrorTrap trap(QStringLiteral("Form1"), QStringLiteral("Form_Load"));
        again.restore(trap);
        EXPECT_TRUE(restored.isSelected(QLatin1String(choice.secondId))) << choice.key;
    }
}

} // namespace
