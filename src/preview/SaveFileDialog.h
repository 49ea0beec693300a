#pragma once
#include <QString>

class QWidget;

namespace preview {

// What the save dialog is asked with, set field by field before it is shown.
struct SaveFileRequest {
    QString fileName;
    QString title;
    QString filter; // Qt's filter syntax, e.g. "Word Files (*.doc)"
};

// The modal save-file dialog behind a small interface so that tests can answer it. It never
// asks about overwriting (the program asks itself) and never appends an extension.
class SaveFileDialog {
public:
    virtual ~SaveFileDialog() = default;
    // The chosen path, or an empty string when the user cancelled.
    virtual QString askSavePath(QWidget *parent, const SaveFileRequest &request) = 0;
    // The filter chosen in the last dialog; empty when the dialog cannot tell.
    virtual QString chosenFilter() const { return QString(); }
};

// Whether a save names a PDF: the PDF filter was chosen, or the name ends in ".pdf".
bool isPdfChoice(const QString &path, const QString &chosenFilter);

// The platform's dialog.
class QtSaveFileDialog final : public SaveFileDialog {
public:
    QString askSavePath(QWidget *parent, const SaveFileRequest &request) override;
    QString chosenFilter() const override { return m_chosenFilter; }

private:
    QString m_chosenFilter;
};

} // namespace preview
