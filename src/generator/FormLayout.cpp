#include "FormLayout.h"

namespace generator {
namespace {

constexpr CellSpec text(const char *label, const char *field) { return {label, Source::Text, field}; }
constexpr CellSpec house(const char *ownOption) { return {"House: ", Source::HouseWord, ownOption}; }
constexpr CellSpec pay(const char *salaryOption) { return {"Salary: ", Source::PayWord, salaryOption}; }
constexpr CellSpec fixed(const char *label) { return {label, Source::None, ""}; }
constexpr RowSpec row(int firstStep, Recipe recipe, CellSpec a, CellSpec b = {}, CellSpec c = {})
{
    return {firstStep, recipe, {a, b, c}};
}

constexpr RowSpec kRows[] = {
    row(174, Recipe::Title, fixed("Rental Application")),
    row(206, Recipe::Heading, fixed("Applicant Information")),
    row(236, Recipe::WholeRow, text("Name: ", "txtAppInfoName")),
    row(250, Recipe::Triple, text("Date of birth: ", "txtAppInfoDateOfBirth"), text("SSN: ", "txtAppInfoSSN"),
        text("Phone: ", "txtAppInfoPhone")),
    row(272, Recipe::WholeRow, text("Current address: ", "txtAppInfoCurrentAddress")),
    row(286, Recipe::Triple, text("City: ", "txtAppInfoCurrentCity"), text("State: ", "txtAppInfoCurrentState"),
        text("Zip Code: ", "txtAppInfoCurrentZipCode")),
    row(308, Recipe::Triple, house("optAppInfoCurrentOwn"),
        text("Monthly payment or rent: ", "txtAppInfoCurrentMonthlyPayment"),
        text("How long? ", "txtAppInfoCurrentHowLong")),
    row(330, Recipe::WholeRow, text("Previous address: ", "txtAppInfoPreviousAddress")),
    row(344, Recipe::Triple, text("City: ", "txtAppInfoPreviousCity"), text("State: ", "txtAppInfoPreviousState"),
        text("Zip Code: ", "txtAppInfoPreviousZipCode")),
    row(366, Recipe::Triple, house("optAppInfoPreviousOwn"),
        text("Monthly payment or rent: ", "txtAppInfoPreviousMonthlyPayment"),
        text("How long? ", "txtAppInfoPreviousHowLong")),
    row(388, Recipe::Heading, fixed("Employment Information")),
    row(418, Recipe::WholeRow, text("Current employer: ", "txtAppInfoEmpInfoCurrentEmployer")),
    row(432, Recipe::TwoPlusOne, text("Employer Address: ", "txtAppInfoEmpInfoEmployerAddress"),
        text("How long? ", "txtAppInfoEmpInfoHowLong")),
    row(450, Recipe::Triple, text("Phone: ", "txtAppInfoEmpInfoPhone"), text("E-mail: ", "txtAppInfoEmpInfoEmail"),
        text("Fax: ", "txtAppInfoEmpInfoFax")),
    row(472, Recipe::Triple, text("City: ", "txtAppInfoEmpInfoCity"), text("State: ", "txtAppInfoEmpInfoState"),
        text("Zip Code: ", "txtAppInfoEmpInfoZip")),
    row(494, Recipe::Triple, text("Position: ", "txtAppInfoEmpInfoPosition"), pay("optAppInfoEmpInfoSalary"),
        text("Annual Income: ", "txtAppInfoEmpInfoAnnualIncome")),
    row(516, Recipe::Heading, fixed("Emergency Contact")),
    row(546, Recipe::WholeRow, text("Name of a person not residing with you: ", "txtNameOfPerson")),
    row(560, Recipe::WholeRow, text("Address: ", "txtEmerConAddress")),
    row(574, Recipe::Triple, text("City: ", "txtEmerConCity"), text("State: ", "txtEmerConState"),
        text("Zip Code: ", "txtEmerConZip")),
    row(596, Recipe::OnePlusTwo, text("Phone: ", "txtEmerConPhone"), text("Relationship: ", "txtRelationship")),
    row(616, Recipe::Heading, fixed("Co-applicant Information, if Married")),
    row(646, Recipe::WholeRow, text("Name: ", "txtCoName")),
    row(660, Recipe::Triple, text("Date of birth: ", "txtCoDateOfBirth"), text("SSN: ", "txtCoSSN"),
        text("Phone: ", "txtCoPhone")),
    row(682, Recipe::WholeRow, text("Current address: ", "txtCoCurrentAddress")),
    row(696, Recipe::Triple, text("City: ", "txtCoCurrentCity"), text("State: ", "txtCoCurrentState"),
        text("Zip Code: ", "txtCoCurrentZipCode")),
    row(718, Recipe::Triple, house("optCoCurrentOwn"), text("Monthly payment or rent: ", "txtCoCurrentMonthlyPayment"),
        text("How long? ", "txtCoCurrentHowLong")),
    row(740, Recipe::WholeRow, text("Previous address: ", "txtCoPreviousAddress")),
    row(754, Recipe::Triple, text("City: ", "txtCoPreviousCity"), text("State: ", "txtCoPreviousState"),
        text("Zip Code: ", "txtCoPreviousZipCode")),
    row(776, Recipe::Triple, house("optCoPreviousOwn"), text("Monthly payment or rent: ", "txtCoPreviousMonthlyPayment"),
        text("How long? ", "txtCoPreviousHowLong")),
    row(798, Recipe::Heading, fixed("Co-applicant Employment Information")),
    row(828, Recipe::WholeRow, text("Current employer: ", "txtCoEmpInfoCurrentEmployer")),
    row(842, Recipe::TwoPlusOne, text("Employer Address: ", "txtCoEmpInfoEmployerAddress"),
        text("How long? ", "txtCoEmpInfoHowLong")),
    row(860, Recipe::Triple, text("Phone: ", "txtCoEmpInfoPhone"), text("E-mail: ", "txtCoEmpInfoEmail"),
        text("Fax: ", "txtCoEmpInfoFax")),
    row(882, Recipe::Triple, text("City: ", "txtCoEmpInfoCity"), text("State: ", "txtCoEmpInfoState"),
        text("Zip Code: ", "txtCoEmpInfoZipCode")),
    row(904, Recipe::Triple, text("Position: ", "txtCoEmpInfoPosition"), pay("optCoEmpInfoSalary"),
        text("Annual Income: ", "txtCoEmpInfoAnnualIncome")),
    row(926, Recipe::Heading, fixed("References")),
    row(956, Recipe::References, text("Name: ", "txtName1"), text("Address: ", "txtAddress1"),
        text("Phone: ", "txtPhone1")),
    row(986, Recipe::Statement,
        fixed("I authorize the verification of the information provided on this form as to my credit and "
              "employment. I have received a copy of this application.")),
    row(1000, Recipe::Signature, fixed("Signature of applicant:"), fixed("Date:")),
    row(1020, Recipe::Signature, fixed("Signature of co-applicant:"), fixed("Date:")),
};

} // namespace

std::span<const RowSpec> formRows() { return kRows; }

} // namespace generator
