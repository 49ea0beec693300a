#pragma once
#include <QString>

class QPrinter;
class QWidget;

namespace preview {

class DocumentPages;

// The print dialog behind a small interface so that tests can answer it.
class PrintDialog {
public:
    virtual ~PrintDialog() = default;
    // Lets the user choose the printer and its settings; false when cancelled.
    virtual bool ask(QWidget *parent, QPrinter &printer) = 0;
};

// The platform's dialog.
class QtPrintDialog final : public PrintDialog {
public:
    bool ask(QWidget *parent, QPrinter &printer) override;
};

// Readies a printer for the document before the dialog shows it: the document's paper, drawn
// from the paper's corner, and the job named after the form.
void preparePrinter(DocumentPages &pages, const QString &wordFile, QPrinter &printer);

// Prints the document on the printer the dialog left set up. Throws runtime::AppError with the
// reason when the printer refuses.
void printDocument(DocumentPages &pages, const QString &wordFile, QPrinter &printer);

} // namespace preview
