#include "VacancyDialog.h"

#include "ScrolledPage.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace entry {
namespace {

using decision::Status;

enum AgencyColumn { Name, Address, Phone, Website, Nationwide, AgencyColumns };

constexpr Status kOutcomes[] = {Status::Approved, Status::ApprovedWithConditions, Status::Denied, Status::Withdrawn};

QLineEdit *line(QWidget *parent, const QString &name, const QString &text)
{
    auto *field = new QLineEdit(text, parent);
    field->setObjectName(name);
    field->setAccessibleName(name);
    return field;
}

QString cell(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text().trimmed() : QString();
}

} // namespace

VacancyDialog::VacancyDialog(const QString &folder, const decision::Vacancy &vacancy,
                             const decision::RetentionPeriods &periods, Save save, QWidget *parent)
    : QDialog(parent), m_save(std::move(save))
{
    setObjectName(QStringLiteral("VacancyDialog"));
    setWindowTitle(QStringLiteral("Vacancy \u2014 %1").arg(folder));
    auto *outer = new QVBoxLayout(this);
    QVBoxLayout *layout = addScrolledPage(this, outer);
    QWidget *page = layout->parentWidget();

    auto *form = new QFormLayout;
    m_unit = line(page, QStringLiteral("Unit address"), vacancy.unitAddress);
    form->addRow(QStringLiteral("&Unit's address:"), m_unit);
    m_landlord = line(page, QStringLiteral("Landlord or manager"), vacancy.landlordName);
    form->addRow(QStringLiteral("&Landlord or manager:"), m_landlord);
    m_landlordAddress = new QPlainTextEdit(vacancy.landlordAddress, page);
    m_landlordAddress->setObjectName(QStringLiteral("Landlord address"));
    m_landlordAddress->setAccessibleName(QStringLiteral("Landlord address"));
    m_landlordAddress->setTabChangesFocus(true);
    m_landlordAddress->setFixedHeight(m_landlordAddress->fontMetrics().lineSpacing() * 3 + 12);
    form->addRow(QStringLiteral("Their a&ddress:"), m_landlordAddress);
    m_landlordPhone = line(page, QStringLiteral("Landlord phone"), vacancy.landlordPhone);
    form->addRow(QStringLiteral("Their &phone:"), m_landlordPhone);
    layout->addLayout(form);

    auto *agencies = new QGroupBox(QStringLiteral("Consumer reporting agencies"), page);
    auto *agencyLayout = new QVBoxLayout(agencies);
    auto *rule = new QLabel(QStringLiteral("The adverse action notice gives the agency's name, address and telephone "
                                           "number. An agency that keeps files on consumers nationwide (the three "
                                           "credit bureaus and most tenant-screening companies) must be given with "
                                           "its toll-free number, one beginning 800, 833, 844, 855, 866, 877 or 888. "
                                           "Clear \"Nationwide\" only for a local agency."),
                            agencies);
    rule->setWordWrap(true);
    agencyLayout->addWidget(rule);
    m_agencies = new QTableWidget(0, AgencyColumns, agencies);
    m_agencies->setObjectName(QStringLiteral("Agencies"));
    m_agencies->setAccessibleName(QStringLiteral("Consumer reporting agencies"));
    m_agencies->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Address"), QStringLiteral("Phone"),
                                           QStringLiteral("Website"), QStringLiteral("Nationwide")});
    m_agencies->verticalHeader()->hide();
    m_agencies->horizontalHeader()->setSectionResizeMode(Address, QHeaderView::Stretch);
    m_agencies->setMinimumHeight(110);
    for (const decision::Agency &agency : vacancy.agencies)
        addAgency(agency);
    agencyLayout->addWidget(m_agencies);
    auto *agencyButtons = new QHBoxLayout;
    auto *add = new QPushButton(QStringLiteral("&Add Agency"), agencies);
    auto *remove = new QPushButton(QStringLiteral("&Remove Agency"), agencies);
    agencyButtons->addWidget(add);
    agencyButtons->addWidget(remove);
    agencyButtons->addStretch(1);
    agencyLayout->addLayout(agencyButtons);
    connect(add, &QPushButton::clicked, this, [this] {
        addAgency({});
        m_agencies->setCurrentCell(m_agencies->rowCount() - 1, Name);
        m_agencies->setFocus();
        m_agencies->editItem(m_agencies->currentItem());
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (m_agencies->currentRow() >= 0)
            m_agencies->removeRow(m_agencies->currentRow());
    });
    layout->addWidget(agencies);

    auto *retention = new QGroupBox(QStringLiteral("Keep each file after the decision"), page);
    auto *retentionLayout = new QFormLayout(retention);
    auto *why = new QLabel(QStringLiteral("In months. A fair-housing claim can come up to two years after the decision. "
                                          "Leave a period blank to keep those files until you set one; pending files "
                                          "are never disposed of."),
                           retention);
    why->setWordWrap(true);
    retentionLayout->addRow(why);
    const char *labels[] = {"Appro&ved:", "Approved with &conditions:", "De&nied:", "&Withdrawn:"};
    for (int i = 0; i < 4; ++i) {
        const std::optional<int> months = periods.of(kOutcomes[i]);
        m_periods[i] = line(retention, decision::statusName(kOutcomes[i]) + QStringLiteral(" months"),
                            months ? QString::number(*months) : QString());
        m_periods[i]->setMaximumWidth(80);
        m_periods[i]->setPlaceholderText(QStringLiteral("keep"));
        retentionLayout->addRow(QString::fromUtf8(labels[i]), m_periods[i]);
    }
    layout->addWidget(retention);

    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("Problem"));
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: #801010"));
    m_problem->hide();
    outer->addWidget(m_problem);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Save)->setText(QStringLiteral("&Save"));
    buttons->button(QDialogButtonBox::Save)->setObjectName(QStringLiteral("Save"));
    outer->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &VacancyDialog::trySave);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(640, 600);
    m_unit->setFocus();
}

void VacancyDialog::addAgency(const decision::Agency &agency)
{
    const int row = m_agencies->rowCount();
    m_agencies->insertRow(row);
    m_agencies->setItem(row, Name, new QTableWidgetItem(agency.name));
    m_agencies->setItem(row, Address, new QTableWidgetItem(agency.address));
    m_agencies->setItem(row, Phone, new QTableWidgetItem(agency.phone));
    m_agencies->setItem(row, Website, new QTableWidgetItem(agency.website));
    auto *nationwide = new QTableWidgetItem;
    nationwide->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    nationwide->setCheckState(agency.nationwide ? Qt::Checked : Qt::Unchecked);
    m_agencies->setItem(row, Nationwide, nationwide);
}

decision::Vacancy VacancyDialog::vacancy() const
{
    decision::Vacancy vacancy;
    vacancy.unitAddress = m_unit->text().trimmed();
    vacancy.landlordName = m_landlord->text().trimmed();
    vacancy.landlordAddress = m_landlordAddress->toPlainText().trimmed();
    vacancy.landlordPhone = m_landlordPhone->text().trimmed();
    for (int r = 0; r < m_agencies->rowCount(); ++r) {
        decision::Agency agency{cell(m_agencies, r, Name), cell(m_agencies, r, Address), cell(m_agencies, r, Phone),
                                cell(m_agencies, r, Website),
                                m_agencies->item(r, Nationwide)->checkState() == Qt::Checked};
        if (agency.name.isEmpty() && agency.address.isEmpty() && agency.phone.isEmpty() && agency.website.isEmpty())
            continue; // a row added and left blank
        vacancy.agencies.append(agency);
    }
    return vacancy;
}

decision::RetentionPeriods VacancyDialog::periods(QStringList *problems) const
{
    decision::RetentionPeriods periods;
    for (int i = 0; i < 4; ++i) {
        const QString typed = m_periods[i]->text().trimmed();
        std::optional<int> months;
        bool ok = typed.isEmpty();
        if (!typed.isEmpty()) {
            const int value = typed.toInt(&ok);
            ok = ok && value >= 0 && value <= 1200;
            if (ok)
                months = value;
        }
        if (!ok && problems)
            *problems << QStringLiteral("The period for %1 files, \"%2\", is not a number of months from 0 to 1200; "
                                        "leave it blank to keep them.")
                             .arg(decision::statusName(kOutcomes[i]).toLower(), typed);
        switch (kOutcomes[i]) {
        case Status::Approved: periods.approved = months; break;
        case Status::ApprovedWithConditions: periods.approvedWithConditions = months; break;
        case Status::Denied: periods.denied = months; break;
        default: periods.withdrawn = months; break;
        }
    }
    return periods;
}

QStringList VacancyDialog::problems() const
{
    QStringList problems;
    for (const decision::Agency &agency : vacancy().agencies)
        problems << decision::problemsOf(agency);
    periods(&problems);
    return problems;
}

QString VacancyDialog::shownProblem() const { return m_problem->isHidden() ? QString() : m_problem->text(); }

void VacancyDialog::trySave()
{
    QString why = problems().join(QLatin1Char(' '));
    if (why.isEmpty() && m_save)
        why = m_save(vacancy(), periods());
    m_problem->setText(why);
    m_problem->setVisible(!why.isEmpty());
    if (why.isEmpty())
        accept();
}

} // namespace entry
