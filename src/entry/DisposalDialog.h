#pragma once
#include "decision/Disposal.h"

#include <QDialog>

class QTableWidget;

namespace entry {

// The files whose time is up, with the applicant's name and decision, and the one question whether
// to dispose of them. Accepted means yes.
class DisposalDialog final : public QDialog {
    Q_OBJECT
public:
    DisposalDialog(const decision::DisposalListing &listing, QWidget *parent = nullptr);
    QTableWidget *files() const { return m_files; }

private:
    QTableWidget *m_files = nullptr;
};

} // namespace entry
