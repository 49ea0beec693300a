#include "PrintJob.h"

#include "DocumentPages.h"
#include "form/FormDocument.h"

#include "runtime/AppError.h"

#include <QPrintDialog>
#include <QPrinter>

namespace preview {

bool QtPrintDialog::ask(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print"));
    // One document of a few pages: no selection or current page to print.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

void preparePrinter(DocumentPages &pages, const QString &wordFile, QPrinter &printer)
{
    printer.setDocName(form::title());
    printer.setCreator(QStringLiteral("Tenvoria"));
    printer.setFullPage(true);
    pages.setUpPaper(wordFile, printer);
}

void printDocument(DocumentPages &pages, const QString &wordFile, QPrinter &printer)
{
    if (!printer.isValid())
        throw runtime::AppError(QStringLiteral("The printer %1 is not available.").arg(printer.printerName()));
    pages.draw(wordFile, printer);
    if (printer.printerState() == QPrinter::Error)
        throw runtime::AppError(QStringLiteral("The printer %1 reported an error; the form may not have been printed.")
                                  .arg(printer.printerName()));
}

} // namespace preview
