#include "RecordCatalogue.h"

#include <array>

namespace record {
namespace {

// Keys are part of the stored format, letter for letter; they are written out rather than derived.
constexpr std::array<TextFieldSpec, 70> kTextFields{{
    {"txtAppInfoName", "Name:", "App Info Name", SampleKind::Value, "Dorian Pellwick Jr."},
    {"txtAppInfoDateOfBirth", "Date of Birth:", "App Info Date Of Birth", SampleKind::Value, "17 June 1978"},
    {"txtAppInfoSSN", "SSN:", "App Info SSN", SampleKind::Value, ""},
    {"txtAppInfoPhone", "Phone:", "App Info Phone", SampleKind::Value, ""},
    {"txtAppInfoCurrentAddress", "Address:", "App Info Current Address", SampleKind::Value, "Elm Street"},
    {"txtAppInfoCurrentCity", "City:", "App Info Current City", SampleKind::Value, "Holderness"},
    {"txtAppInfoCurrentState", "State:", "App Info Current State", SampleKind::Value, "NH"},
    {"txtAppInfoCurrentZipCode", "Zip Code:", "App Info Current Zip Code", SampleKind::Value, "03245"},
    {"txtAppInfoCurrentMonthlyPayment", "Monthly Payment or Rent:", "App Info Current Monthly Payment", SampleKind::Value, "500"},
    {"txtAppInfoCurrentHowLong", "How Long:", "App Info Current How Long", SampleKind::Value, "2 years"},
    {"txtAppInfoPreviousAddress", "Address:", "App Info Previous Address", SampleKind::Value, "Birchwood dr"},
    {"txtAppInfoPreviousCity", "City:", "App Info Previous City", SampleKind::Value, "Holderness"},
    {"txtAppInfoPreviousState", "State:", "App Info Previous State", SampleKind::Value, "NH"},
    {"txtAppInfoPreviousZipCode", "Zip Code:", "App Info Previous Zip Code", SampleKind::Value, "03245"},
    {"txtAppInfoPreviousMonthlyPayment", "Monthly Payment or Rent:", "App Info Previous Monthly Payment", SampleKind::Value, "400"},
    {"txtAppInfoPreviousHowLong", "How Long:", "App Info Previous How Long", SampleKind::Value, "3 years"},
    {"txtAppInfoEmpInfoCurrentEmployer", "Current Employer:", "App Info Emp Info Current Employer", SampleKind::Value, "ACME Inc"},
    {"txtAppInfoEmpInfoEmployerAddress", "Employer Address:", "App Info Emp Info Employer Address", SampleKind::Value, "West 18 street"},
    {"txtAppInfoEmpInfoHowLong", "How Long:", "App Info Emp Info How Long", SampleKind::Value, "6 years"},
    {"txtAppInfoEmpInfoPhone", "Phone:", "App Info Emp Info Phone", SampleKind::Value, ""},
    {"txtAppInfoEmpInfoEmail", "Email:", "App Info Emp Info Email", SampleKind::Value, ""},
    {"txtAppInfoEmpInfoFax", "Fax:", "App Info Emp Info Fax", SampleKind::Value, ""},
    {"txtAppInfoEmpInfoCity", "City:", "App Info Emp Info City", SampleKind::Value, "Holderness"},
    {"txtAppInfoEmpInfoState", "State:", "App Info Emp Info State", SampleKind::Value, "NH"},
    {"txtAppInfoEmpInfoZip", "Zip Code:", "App Info Emp Info Zip", SampleKind::Value, "03245"},
    {"txtAppInfoEmpInfoPosition", "Position:", "App Info Emp Info Position", SampleKind::Value, "Junior developer"},
    {"txtAppInfoEmpInfoAnnualIncome", "Annual Income:", "App Info Emp Info Annual Income", SampleKind::Value, "20 000"},
    {"txtCoName", "Name:", "Co Name", SampleKind::Value, "Marla Pellwick-Ostrand"},
    {"txtCoDateOfBirth", "Date of Birth:", "Co Date Of Birth", SampleKind::Value, "14 December 1977"},
    {"txtCoSSN", "SSN:", "Co SSN", SampleKind::Value, ""},
    {"txtCoPhone", "Phone:", "Co Phone", SampleKind::Value, ""},
    {"txtCoCurrentAddress", "Address:", "Co Current Address", SampleKind::CopyOf, "txtAppInfoCurrentAddress"},
    {"txtCoCurrentCity", "City:", "Co Current City", SampleKind::CopyOf, "txtAppInfoCurrentCity"},
    {"txtCoCurrentState", "State:", "Co Current State", SampleKind::CopyOf, "txtAppInfoCurrentState"},
    {"txtCoCurrentZipCode", "Zip Code:", "Co Current Zip Code", SampleKind::CopyOf, "txtAppInfoCurrentZipCode"},
    {"txtCoCurrentMonthlyPayment", "Monthly Payment or Rent:", "Co Current Monthly Payment", SampleKind::Value, ""},
    {"txtCoCurrentHowLong", "How Long:", "Co Current How Long", SampleKind::CopyOf, "txtAppInfoCurrentHowLong"},
    {"txtCoPreviousAddress", "Address:", "Co Previous Address", SampleKind::CopyOf, "txtAppInfoPreviousAddress"},
    {"txtCoPreviousCity", "City:", "Co Previous City", SampleKind::CopyOf, "txtAppInfoPreviousCity"},
    {"txtCoPreviousState", "State:", "Co Previous State", SampleKind::CopyOf, "txtAppInfoPreviousState"},
    {"txtCoPreviousZipCode", "Zip Code:", "Co Previous Zip Code", SampleKind::CopyOf, "txtAppInfoPreviousZipCode"},
    {"txtCoPreviousMonthlyPayment", "Monthly Payment or Rent:", "Co Previous Monthly Payment", SampleKind::CopyOf, "txtAppInfoPreviousMonthlyPayment"},
    {"txtCoPreviousHowLong", "How Long:", "Co Previous How Long", SampleKind::CopyOf, "txtAppInfoPreviousHowLong"},
    {"txtCoEmpInfoCurrentEmployer", "Current Employer:", "Co Emp Info Current Employer", SampleKind::Value, "EMCA Co."},
    {"txtCoEmpInfoEmployerAddress", "Employer Address:", "Co Emp Info Employer Address", SampleKind::Value, "South 7 Avenue"},
    {"txtCoEmpInfoHowLong", "How Long:", "Co Emp Info How Long", SampleKind::Value, "3 years"},
    {"txtCoEmpInfoPhone", "Phone:", "Co Emp Info Phone", SampleKind::Value, ""},
    {"txtCoEmpInfoEmail", "Email:", "Co Emp Info Email", SampleKind::Value, ""},
    {"txtCoEmpInfoFax", "Fax:", "Co Emp Info Fax", SampleKind::Value, ""},
    {"txtCoEmpInfoCity", "City:", "Co Emp Info City", SampleKind::Value, "Holderness"},
    {"txtCoEmpInfoState", "State:", "Co Emp Info State", SampleKind::Value, "NH"},
    {"txtCoEmpInfoZipCode", "Zip Code:", "Co Emp Info Zip Code", SampleKind::Value, "03245"},
    {"txtCoEmpInfoPosition", "Position:", "Co Emp Info Position", SampleKind::Value, "Office manager"},
    {"txtCoEmpInfoAnnualIncome", "Annual Income:", "Co Emp Info Annual Income", SampleKind::Value, "18 000"},
    {"txtNameOfPerson", "Name of person not residing with you:", "Name Of Person", SampleKind::Value, "Tobin"},
    {"txtEmerConAddress", "Address:", "Emer Con Address", SampleKind::Value, ""},
    {"txtEmerConCity", "City:", "Emer Con City", SampleKind::CopyOf, "txtAppInfoCurrentCity"},
    {"txtEmerConState", "State:", "Emer Con State", SampleKind::CopyOf, "txtAppInfoCurrentState"},
    {"txtEmerConZip", "Zip Code:", "Emer Con Zip", SampleKind::CopyOf, "txtAppInfoCurrentZipCode"},
    {"txtEmerConPhone", "Phone:", "Emer Con Phone", SampleKind::Value, ""},
    {"txtRelationship", "Relationship:", "Relationship", SampleKind::Value, "Brother"},
    {"txtName1", "Name:", "Name1", SampleKind::Untouched, ""},
    {"txtAddress1", "Address:", "Address1", SampleKind::Untouched, ""},
    {"txtPhone1", "Phone:", "Phone1", SampleKind::Untouched, ""},
    {"txtName2", "Name 2:", "Name2", SampleKind::Untouched, "", false},
    {"txtAddress2", "Address:", "Address2", SampleKind::Untouched, "", false},
    {"txtPhone2", "Phone:", "Phone2", SampleKind::Untouched, "", false},
    {"txtName3", "Name 3:", "Name3", SampleKind::Untouched, "", false},
    {"txtAddress3", "Address:", "Address3", SampleKind::Untouched, "", false},
    {"txtPhone3", "Phone:", "Phone3", SampleKind::Untouched, "", false},}};

constexpr std::array<ChoiceSpec, 6> kChoices{{
    {"App Info Current House", "House", "optAppInfoCurrentOwn", "Own", "optAppInfoCurrentRent", "Rent", "Rent"},
    {"App Info Previous House", "House", "optAppInfoPreviousOwn", "Own", "optAppInfoPreviousRent", "Rent", "Rent"},
    {"App Info Emp Info Salary", "Salary", "optAppInfoEmpInfoHourly", "Hourly", "optAppInfoEmpInfoSalary", "Salary",
     "Hourly"},
    {"Co Current House", "House", "optCoCurrentOwn", "Own", "optCoCurrentRent", "Rent", "Rent"},
    {"Co Previous House", "House", "optCoPreviousOwn", "Own", "optCoPreviousRent", "Rent", "Rent"},
    {"Co Emp Info Salary", "Salary", "optCoEmpInfoHourly", "Hourly", "optCoEmpInfoSalary", "Salary", "Hourly"},
}};

} // namespace

std::span<const TextFieldSpec> textFields() { return kTextFields; }
std::span<const ChoiceSpec> choices() { return kChoices; }

const TextFieldSpec *findTextField(QAnyStringView id)
{
    for (const TextFieldSpec &field : kTextFields)
        if (QAnyStringView::equal(id, QLatin1String(field.id)))
            return &field;
    return nullptr;
}

const ChoiceSpec *findChoice(QAnyStringView key)
{
    for (const ChoiceSpec &choice : kChoices)
        if (QAnyStringView::equal(key, QLatin1String(choice.key)))
            return &choice;
    return nullptr;
}

QString keyFromIdentifier(QStringView id)
{
    const QStringView name = id.startsWith(u"txt") ? id.mid(3) : id;
    QString key;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (i > 0 && name[i - 1].isLower() && name[i].isUpper())
            key += QLatin1Char(' ');
        key += name[i];
    }
    return key;
}

} // namespace record
