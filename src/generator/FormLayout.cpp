#include "FormLayout.h"

namespace generator {
namespace {

constexpr CellSpec text(const char *label, const char *field) { return {label, Source::Text, field}; }
constexpr CellSpec house(const char *ownOption) { return {"House: ", Source::HouseWord, ownOption}; }
constexpr CellSpec pay(const char *salaryOption) { return {"Salary: ", Source::PayWord, salaryOption}; }
constexpr CellSpec fixed(const char *label) { return {label, Source::None, ""}; }
constexpr RowSpec row(Recipe recipe, CellSpec a, CellSpec b = {}, CellSpec c = {}) { return {recipe, {a, b, c}}; }

constexpr RowSpec kRows[] = {
    row(Recipe::Title, fixed("Rental Application")),
    row(Recipe::Heading, fixed("Applicant Information")),
    row(Recipe::WholeRow, text("Name: ", "txtAppInfoName")),
    row(Recipe::Triple, text("Date of birth: ", "txtAppInfoDateOfBirth"), text("SSN: ", "txtAppInfoSSN"),
        text("Phone: ", "txtAppInfoPhone")),
    row(Recipe::WholeRow, text("Current address: ", "txtAppInfoCurrentAddress")),
    row(Recipe::Triple, text("City: ", "txtAppInfoCurrentCity"), text("State: ", "txtAppInfoCurrentState"),
        text("Zip Code: ", "txtAppInfoCurrentZipCode")),
    row(Recipe::Triple, house("optAppInfoCurrentOwn"),
        text("Monthly payment or rent: ", "txtAppInfoCurrentMonthlyPayment"),
        text("How long? ", "txtAppInfoCurrentHowLong")),
    row(Recipe::WholeRow, text("Previous address: ", "txtAppInfoPreviousAddress")),
    row(Recipe::Triple, text("City: ", "txtAppInfoPreviousCity"), text("State: ", "txtAppInfoPreviousState"),
        text("Zip Code: ", "txtAppInfoPreviousZipCode")),
    row(Recipe::Triple, house("optAppInfoPreviousOwn"),
        text("Monthly payment or rent: ", "txtAppInfoPreviousMonthlyPayment"),
        text("How long? ", "txtAppInfoPreviousHowLong")),
    row(Recipe::Heading, fixed("Employment Information")),
    row(Recipe::WholeRow, text("Current employer: ", "txtAppInfoEmpInfoCurrentEmployer")),
    row(Recipe::TwoPlusOne, text("Employer Address: ", "txtAppInfoEmpInfoEmployerAddress"),
        text("How long? ", "txtAppInfoEmpInfoHowLong")),
    row(Recipe::Triple, text("Phone: ", "txtAppInfoEmpInfoPhone"), text("E-mail: ", "txtAppInfoEmpInfoEmail"),
        text("Fax: ", "txtAppInfoEmpInfoFax")),
    row(Recipe::Triple, text("City: ", "txtAppInfoEmpInfoCity"), text("State: ", "txtAppInfoEmpInfoState"),
        text("Zip Code: ", "txtAppInfoEmpInfoZip")),
    row(Recipe::Triple, text("Position: ", "txtAppInfoEmpInfoPosition"), pay("optAppInfoEmpInfoSalary"),
        text("Annual Income: ", "txtAppInfoEmpInfoAnnualIncome")),
    row(Recipe::Heading, fixed("Emergency Contact")),
    row(Recipe::WholeRow, text("Name of a person not residing with you: ", "txtNameOfPerson")),
    row(Recipe::WholeRow, text("Address: ", "txtEmerConAddress")),
    row(Recipe::Triple, text("City: ", "txtEmerConCity"), text("State: ", "txtEmerConState"),
        text("Zip Code: ", "txtEmerConZip")),
    row(Recipe::OnePlusTwo, text("Phone: ", "txtEmerConPhone"), text("Relationship: ", "txtRelationship")),
    row(Recipe::Heading, fixed("Co-applicant Information, if Married")),
    row(Recipe::WholeRow, text("Name: ", "txtCoName")),
    row(Recipe::Triple, text("Date of birth: ", "txtCoDateOfBirth"), text("SSN: ", "txtCoSSN"),
        text("Phone: ", "txtCoPhone")),
    row(Recipe::WholeRow, text("Current address: ", "txtCoCurrentAddress")),
    row(Recipe::Triple, text("City: ", "txtCoCurrentCity"), text("State: ", "txtCoCurrentState"),
        text("Zip Code: ", "txtCoCurrentZipCode")),
    row(Recipe::Triple, house("optCoCurrentOwn"), text("Monthly payment or rent: ", "txtCoCurrentMonthlyPayment"),
        text("How long? ", "txtCoCurrentHowLong")),
    row(Recipe::WholeRow, text("Previous address: ", "txtCoPreviousAddress")),
    row(Recipe::Triple, text("City: ", "txtCoPreviousCity"), text("State: ", "txtCoPreviousState"),
        text("Zip Code: ", "txtCoPreviousZipCode")),
    row(Recipe::Triple, house("optCoPreviousOwn"), text("Monthly payment or rent: ", "txtCoPreviousMonthlyPayment"),
        text("How long? ", "txtCoPreviousHowLong")),
    row(Recipe::Heading, fixed("Co-applicant Employment Information")),
    row(Recipe::WholeRow, text("Current employer: ", "txtCoEmpInfoCurrentEmployer")),
    row(Recipe::TwoPlusOne, text("Employer Address: ", "txtCoEmpInfoEmployerAddress"),
        text("How long? ", "txtCoEmpInfoHowLong")),
    row(Recipe::Triple, text("Phone: ", "txtCoEmpInfoPhone"), text("E-mail: ", "txtCoEmpInfoEmail"),
        text("Fax: ", "txtCoEmpInfoFax")),
    row(Recipe::Triple, text("City: ", "txtCoEmpInfoCity"), text("State: ", "txtCoEmpInfoState"),
        text("Zip Code: ", "txtCoEmpInfoZipCode")),
    row(Recipe::Triple, text("Position: ", "txtCoEmpInfoPosition"), pay("optCoEmpInfoSalary"),
        text("Annual Income: ", "txtCoEmpInfoAnnualIncome")),
    row(Recipe::Heading, fixed("References")),
    row(Recipe::References, text("Name: ", "txtName1"), text("Address: ", "txtAddress1"),
        text("Phone: ", "txtPhone1")),
    row(Recipe::Statement,
        fixed("I authorize the verification of the information provided on this form as to my credit and "
              "employment. I have received a copy of this application.")),
    row(Recipe::Signature, fixed("Signature of applicant:"), fixed("Date:")),
    row(Recipe::Signature, fixed("Signature of co-applicant:"), fixed("Date:")),
};

} // namespace

std::span<const RowSpec> formRows() { return kRows; }

} // namespace generator
