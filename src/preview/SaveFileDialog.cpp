#include "SaveFileDialog.h"

#include <QFileDialog>

namespace preview {

QString QtSaveFileDialog::askSavePath(QWidget *parent, const SaveFileRequest &request)
{
    QFileDialog dialog(parent, request.title, QString(), request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QString());
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    m_chosenFilter.clear();
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    m_chosenFilter = dialog.selectedNameFilter();
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

bool isPdfChoice(const QString &path, const QString &chosenFilter)
{
    return chosenFilter.contains(QLatin1String("*.pdf"), Qt::CaseInsensitive)
           || path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
}

} // namespace preview
