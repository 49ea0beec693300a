#include "FieldRects.h"

#include <QFile>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>

namespace testsupport {

QMap<QString, QRectF> fieldRects(const QString &file, const QStringList &names)
{
    QPDF pdf;
    pdf.processFile(QFile::encodeName(file).constData());
    QPDFAcroFormDocumentHelper form(pdf);
    QMap<QString, QRectF> rects;
    const double pageHeight = 792;
    for (QPDFFormFieldObjectHelper field : form.getFormFields()) {
        const QString name = QString::fromStdString(field.getFullyQualifiedName());
        if (names.contains(name)) {
            const auto r = field.getObjectHandle().getKey("/Rect").getArrayAsRectangle();
            rects.insert(name, QRectF(QPointF(r.llx, pageHeight - r.ury), QPointF(r.urx, pageHeight - r.lly)));
        }
    }
    return rects;
}

} // namespace testsupport
