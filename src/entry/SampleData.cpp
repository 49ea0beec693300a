#include "SampleData.h"

#include "BuildConfig.h"
#include "record/RecordCatalogue.h"
#include "RecordWidgets.h"
#include "shell/ErrorTrap.h"

#include <QLineEdit>
#include <QRadioButton>

namespace entry {
namespace {

// The order of assignment matters: every copy is taken after its source was filled.
constexpr const char *kSampleOrder[] = {
    "txtAppInfoCurrentCity", "txtAppInfoCurrentHowLong", "txtAppInfoPhone", "txtAppInfoCurrentState",
    "txtAppInfoCurrentZipCode", "txtAppInfoCurrentAddress", "txtAppInfoDateOfBirth",
    "txtAppInfoEmpInfoAnnualIncome", "txtAppInfoEmpInfoCity", "txtAppInfoEmpInfoCurrentEmployer",
    "txtAppInfoEmpInfoEmail", "txtAppInfoEmpInfoEmployerAddress", "txtAppInfoEmpInfoFax", "txtAppInfoEmpInfoHowLong",
    "txtAppInfoEmpInfoPhone", "txtAppInfoEmpInfoPosition", "txtAppInfoEmpInfoState", "txtAppInfoEmpInfoZip",
    "txtAppInfoCurrentMonthlyPayment", "txtAppInfoName", "txtAppInfoSSN", "txtAppInfoPreviousAddress",
    "txtAppInfoPreviousCity", "txtAppInfoPreviousHowLong", "txtAppInfoPreviousMonthlyPayment",
    "txtAppInfoPreviousState", "txtAppInfoPreviousZipCode",
    // co-applicant's employment
    "txtCoEmpInfoAnnualIncome", "txtCoEmpInfoCity", "txtCoEmpInfoCurrentEmployer", "txtCoEmpInfoEmail",
    "txtCoEmpInfoEmployerAddress", "txtCoEmpInfoFax", "txtCoEmpInfoHowLong", "txtCoEmpInfoPhone",
    "txtCoEmpInfoPosition", "txtCoEmpInfoState", "txtCoEmpInfoZipCode", "txtCoName", "txtCoPhone",
    // co-applicant's previous residence, copied from the applicant's
    "txtCoPreviousAddress", "txtCoPreviousCity", "txtCoPreviousHowLong", "txtCoPreviousMonthlyPayment",
    "txtCoPreviousState", "txtCoPreviousZipCode",
    "txtCoSSN", "txtCoCurrentAddress", "txtCoCurrentCity", "txtCoCurrentState", "txtCoCurrentZipCode",
    "txtCoDateOfBirth", "txtCoCurrentHowLong", "txtCoCurrentMonthlyPayment",
    // emergency contact
    "txtEmerConAddress", "txtEmerConCity", "txtEmerConPhone", "txtEmerConState", "txtEmerConZip",
    "txtNameOfPerson", "txtRelationship",
};

constexpr const char *kSampleSelections[] = {
    "optCoCurrentRent", "optCoPreviousRent", "optCoEmpInfoHourly",
    "optAppInfoEmpInfoHourly", "optAppInfoCurrentRent", "optAppInfoPreviousRent",
};

} // namespace

void loadSampleData(const RecordWidgets &widgets, shell::ErrorTrap &trap)
{
    int label = 100;
    for (const char *id : kSampleOrder) {
        trap.line(label, [&] {
            const record::TextFieldSpec *field = record::findTextField(QLatin1String(id));
            const QString value = field->sampleKind == record::SampleKind::CopyOf
                ? widgets.textOf(QLatin1String(field->sample))
                : QString::fromUtf8(field->sample);
            widgets.text(QLatin1String(id))->setText(value);
        });
        label += 2;
    }
    for (const char *id : kSampleSelections) {
        trap.line(label, [&] { widgets.option(QLatin1String(id))->setChecked(true); });
        label += 2;
    }
}

QString helpMessage()
{
    return QStringLiteral("Questions? Please contact Team Marrowick at ") + QString::fromUtf8(shell::build::kContactPage);
}

} // namespace entry
