#include "FormLayout.h"

#include "record/RecordFields.h"

namespace generator {
namespace {

namespace field = record::field;
namespace option = record::option;

constexpr CellSpec text(const char *label, record::FieldId field) { return {label, Source::Text, field.id}; }
constexpr CellSpec house(record::OptionId ownOption) { return {"House: ", Source::HouseWord, ownOption.id}; }
constexpr CellSpec pay(record::OptionId salaryOption) { return {"Salary: ", Source::PayWord, salaryOption.id}; }
constexpr CellSpec fixed(const char *label) { return {label, Source::None, ""}; }
constexpr RowSpec row(int firstStep, Recipe recipe, CellSpec a, CellSpec b = {}, CellSpec c = {})
{
    return {firstStep, recipe, {a, b, c}};
}

constexpr RowSpec kRows[] = {
    row(174, Recipe::Title, fixed("Rental Application")),
    row(206, Recipe::Heading, fixed("Applicant Information")),
    row(236, Recipe::WholeRow, text("Name: ", field::AppInfoName)),
    row(250, Recipe::Triple, text("Date of birth: ", field::AppInfoDateOfBirth), text("SSN: ", field::AppInfoSSN),
        text("Phone: ", field::AppInfoPhone)),
    row(272, Recipe::WholeRow, text("Current address: ", field::AppInfoCurrentAddress)),
    row(286, Recipe::Triple, text("City: ", field::AppInfoCurrentCity), text("State: ", field::AppInfoCurrentState),
        text("Zip Code: ", field::AppInfoCurrentZipCode)),
    row(308, Recipe::Triple, house(option::AppInfoCurrentOwn),
        text("Monthly payment or rent: ", field::AppInfoCurrentMonthlyPayment),
        text("How long? ", field::AppInfoCurrentHowLong)),
    row(330, Recipe::WholeRow, text("Previous address: ", field::AppInfoPreviousAddress)),
    row(344, Recipe::Triple, text("City: ", field::AppInfoPreviousCity), text("State: ", field::AppInfoPreviousState),
        text("Zip Code: ", field::AppInfoPreviousZipCode)),
    row(366, Recipe::Triple, house(option::AppInfoPreviousOwn),
        text("Monthly payment or rent: ", field::AppInfoPreviousMonthlyPayment),
        text("How long? ", field::AppInfoPreviousHowLong)),
    row(388, Recipe::Heading, fixed("Employment Information")),
    row(418, Recipe::WholeRow, text("Current employer: ", field::AppInfoEmpInfoCurrentEmployer)),
    row(432, Recipe::TwoPlusOne, text("Employer Address: ", field::AppInfoEmpInfoEmployerAddress),
        text("How long? ", field::AppInfoEmpInfoHowLong)),
    row(450, Recipe::Triple, text("Phone: ", field::AppInfoEmpInfoPhone), text("E-mail: ", field::AppInfoEmpInfoEmail),
        text("Fax: ", field::AppInfoEmpInfoFax)),
    row(472, Recipe::Triple, text("City: ", field::AppInfoEmpInfoCity), text("State: ", field::AppInfoEmpInfoState),
        text("Zip Code: ", field::AppInfoEmpInfoZip)),
    row(494, Recipe::Triple, text("Position: ", field::AppInfoEmpInfoPosition), pay(option::AppInfoEmpInfoSalary),
        text("Annual Income: ", field::AppInfoEmpInfoAnnualIncome)),
    row(516, Recipe::Heading, fixed("Emergency Contact")),
    row(546, Recipe::WholeRow, text("Name of a person not residing with you: ", field::NameOfPerson)),
    row(560, Recipe::WholeRow, text("Address: ", field::EmerConAddress)),
    row(574, Recipe::Triple, text("City: ", field::EmerConCity), text("State: ", field::EmerConState),
        text("Zip Code: ", field::EmerConZip)),
    row(596, Recipe::OnePlusTwo, text("Phone: ", field::EmerConPhone), text("Relationship: ", field::Relationship)),
    row(616, Recipe::Heading, fixed("Co-applicant Information, if Married")),
    row(646, Recipe::WholeRow, text("Name: ", field::CoName)),
    row(660, Recipe::Triple, text("Date of birth: ", field::CoDateOfBirth), text("SSN: ", field::CoSSN),
        text("Phone: ", field::CoPhone)),
    row(682, Recipe::WholeRow, text("Current address: ", field::CoCurrentAddress)),
    row(696, Recipe::Triple, text("City: ", field::CoCurrentCity), text("State: ", field::CoCurrentState),
        text("Zip Code: ", field::CoCurrentZipCode)),
    row(718, Recipe::Triple, house(option::CoCurrentOwn), text("Monthly payment or rent: ", field::CoCurrentMonthlyPayment),
        text("How long? ", field::CoCurrentHowLong)),
    row(740, Recipe::WholeRow, text("Previous address: ", field::CoPreviousAddress)),
    row(754, Recipe::Triple, text("City: ", field::CoPreviousCity), text("State: ", field::CoPreviousState),
        text("Zip Code: ", field::CoPreviousZipCode)),
    row(776, Recipe::Triple, house(option::CoPreviousOwn), text("Monthly payment or rent: ", field::CoPreviousMonthlyPayment),
        text("How long? ", field::CoPreviousHowLong)),
    row(798, Recipe::Heading, fixed("Co-applicant Employment Information")),
    row(828, Recipe::WholeRow, text("Current employer: ", field::CoEmpInfoCurrentEmployer)),
    row(842, Recipe::TwoPlusOne, text("Employer Address: ", field::CoEmpInfoEmployerAddress),
        text("How long? ", field::CoEmpInfoHowLong)),
    row(860, Recipe::Triple, text("Phone: ", field::CoEmpInfoPhone), text("E-mail: ", field::CoEmpInfoEmail),
        text("Fax: ", field::CoEmpInfoFax)),
    row(882, Recipe::Triple, text("City: ", field::CoEmpInfoCity), text("State: ", field::CoEmpInfoState),
        text("Zip Code: ", field::CoEmpInfoZipCode)),
    row(904, Recipe::Triple, text("Position: ", field::CoEmpInfoPosition), pay(option::CoEmpInfoSalary),
        text("Annual Income: ", field::CoEmpInfoAnnualIncome)),
    row(926, Recipe::Heading, fixed("References")),
    row(956, Recipe::References, text("Name: ", field::Name1), text("Address: ", field::Address1),
        text("Phone: ", field::Phone1)),
    row(986, Recipe::Statement,
        fixed("I authorize the verification of the information provided on this form as to my credit and "
              "employment. I have received a copy of this application.")),
    row(1000, Recipe::Signature, fixed("Signature of applicant:"), fixed("Date:")),
    row(1020, Recipe::Signature, fixed("Signature of co-applicant:"), fixed("Date:")),
};

} // namespace

std::span<const RowSpec> formRows() { return kRows; }

} // namespace generator
