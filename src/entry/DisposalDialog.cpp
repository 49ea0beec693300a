#include "DisposalDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace entry {

DisposalDialog::DisposalDialog(const decision::DisposalListing &listing, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DisposalDialog"));
    setWindowTitle(QStringLiteral("Dispose of Expired Applications"));
    auto *layout = new QVBoxLayout(this);
    const qsizetype count = listing.files.size();
    auto *intro = new QLabel(count == 0 ? QStringLiteral("No application's time is up: nothing to dispose of.")
                                        : QStringLiteral("%1 past the day kept for. Each file will be "
                                                         "overwritten, deleted, taken off the recent list and noted in "
                                                         "the folder's disposal log (without SSNs or dates of birth). "
                                                         "This cannot be undone.")
                                              .arg(count == 1 ? QStringLiteral("This applicant file is")
                                                              : QStringLiteral("These %1 applicant files are").arg(count)),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    m_files = new QTableWidget(int(count), 5, this);
    m_files->setObjectName(QStringLiteral("ExpiredFiles"));
    m_files->setAccessibleName(QStringLiteral("Files to dispose of"));
    m_files->setHorizontalHeaderLabels({QStringLiteral("File"), QStringLiteral("Applicant"), QStringLiteral("Decision"),
                                        QStringLiteral("Decided"), QStringLiteral("Kept until")});
    m_files->verticalHeader()->hide();
    m_files->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_files->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_files->setTabKeyNavigation(false);
    for (int r = 0; r < count; ++r) {
        const decision::ExpiredFile &file = listing.files[r];
        const QStringList cells{file.fileName, file.applicantName, decision::statusName(file.status),
                                decision::dateText(file.decided),
                                file.interrupted ? QStringLiteral("disposal interrupted") : decision::dateText(file.keepUntil)};
        for (int c = 0; c < cells.size(); ++c)
            m_files->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    m_files->resizeColumnsToContents();
    m_files->setVisible(count > 0);
    layout->addWidget(m_files, 1);
    if (count == 0)
        layout->addStretch(1);
    if (!listing.unchecked.isEmpty()) {
        auto *unchecked = new QLabel(QStringLiteral("Not checked, and left alone:\n") + listing.unchecked.join(QLatin1Char('\n')), this);
        unchecked->setObjectName(QStringLiteral("Unchecked"));
        unchecked->setWordWrap(true);
        unchecked->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(unchecked);
    }
    auto *buttons = new QDialogButtonBox(this);
    if (count > 0) {
        QPushButton *dispose = buttons->addButton(count == 1 ? QStringLiteral("&Dispose of 1 File") : QStringLiteral("&Dispose of %1 Files").arg(count), QDialogButtonBox::AcceptRole);
        dispose->setObjectName(QStringLiteral("Dispose"));
        buttons->addButton(QDialogButtonBox::Cancel)->setDefault(true); // the safe answer is the one Enter gives
    } else {
        buttons->addButton(QDialogButtonBox::Close);
    }
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(count > 0 ? QSize(640, 360) : QSize(420, 120));
}

} // namespace entry
