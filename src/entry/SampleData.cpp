#include "SampleData.h"

#include "BuildConfig.h"
#include "record/RecordCatalogue.h"
#include "RecordWidgets.h"
#include "runtime/ErrorTrap.h"

#include <QLineEdit>
#include <QRadioButton>

namespace entry {
namespace {

namespace field = record::field;
namespace option = record::option;

// The order of assignment matters: every copy is taken after its source was filled.
constexpr record::FieldId kSampleOrder[] = {
    field::AppInfoCurrentCity, field::AppInfoCurrentHowLong, field::AppInfoPhone, field::AppInfoCurrentState,
    field::AppInfoCurrentZipCode, field::AppInfoCurrentAddress, field::AppInfoDateOfBirth,
    field::AppInfoEmpInfoAnnualIncome, field::AppInfoEmpInfoCity, field::AppInfoEmpInfoCurrentEmployer,
    field::AppInfoEmpInfoEmail, field::AppInfoEmpInfoEmployerAddress, field::AppInfoEmpInfoFax, field::AppInfoEmpInfoHowLong,
    field::AppInfoEmpInfoPhone, field::AppInfoEmpInfoPosition, field::AppInfoEmpInfoState, field::AppInfoEmpInfoZip,
    field::AppInfoCurrentMonthlyPayment, field::AppInfoName, field::AppInfoSSN, field::AppInfoPreviousAddress,
    field::AppInfoPreviousCity, field::AppInfoPreviousHowLong, field::AppInfoPreviousMonthlyPayment,
    field::AppInfoPreviousState, field::AppInfoPreviousZipCode,
    // co-applicant's employment
    field::CoEmpInfoAnnualIncome, field::CoEmpInfoCity, field::CoEmpInfoCurrentEmployer, field::CoEmpInfoEmail,
    field::CoEmpInfoEmployerAddress, field::CoEmpInfoFax, field::CoEmpInfoHowLong, field::CoEmpInfoPhone,
    field::CoEmpInfoPosition, field::CoEmpInfoState, field::CoEmpInfoZipCode, field::CoName, field::CoPhone,
    // co-applicant's previous residence, copied from the applicant's
    field::CoPreviousAddress, field::CoPreviousCity, field::CoPreviousHowLong, field::CoPreviousMonthlyPayment,
    field::CoPreviousState, field::CoPreviousZipCode,
    field::CoSSN, field::CoCurrentAddress, field::CoCurrentCity, field::CoCurrentState, field::CoCurrentZipCode,
    field::CoDateOfBirth, field::CoCurrentHowLong, field::CoCurrentMonthlyPayment,
    // emergency contact
    field::EmerConAddress, field::EmerConCity, field::EmerConPhone, field::EmerConState, field::EmerConZip,
    field::NameOfPerson, field::Relationship,
};

constexpr record::OptionId kSampleSelections[] = {
    option::CoCurrentRent, option::CoPreviousRent, option::CoEmpInfoHourly,
    option::AppInfoEmpInfoHourly, option::AppInfoCurrentRent, option::AppInfoPreviousRent,
};

} // namespace

void loadSampleData(const RecordWidgets &widgets, runtime::ErrorTrap &trap)
{
    int label = 100;
    for (const record::FieldId id : kSampleOrder) {
        trap.line(label, [&] {
            const record::TextFieldSpec *field = record::findTextField(id.name());
            const QString value = field->sampleKind == record::SampleKind::CopyOf
                ? widgets.textOf(QLatin1String(field->sample))
                : QString::fromUtf8(field->sample);
            widgets.text(id.name())->setText(value);
        });
        label += 2;
    }
    for (const record::OptionId id : kSampleSelections) {
        trap.line(label, [&] { widgets.option(id.name())->setChecked(true); });
        label += 2;
    }
}

QString helpMessage()
{
    return QStringLiteral("Questions? Please contact Team Marrowick at ") + QString::fromUtf8(runtime::build::kContactPage);
}

} // namespace entry
