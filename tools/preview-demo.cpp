// Opens the preview window by hand on a page picture: the file given on the command line, or a
// drawn page of 7 x 9.33 in (the size of the form's table on paper) at 192 dpi; "--letter" draws
// a whole US Letter page instead. The document handed over is a scratch file.
#include "preview/PreviewWindow.h"
#include "shell/QtMessageBoxes.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>

namespace {
QImage drawnPage(double widthInches, double heightInches)
{
    constexpr int kDpi = 192;
    QImage page(int(widthInches * kDpi), int(heightInches * kDpi), QImage::Format_RGB32);
    page.fill(Qt::white);
    page.setDotsPerMeterX(int(std::lround(kDpi / 0.0254)));
    page.setDotsPerMeterY(int(std::lround(kDpi / 0.0254)));

    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int x = 0; x < page.width(); x += kDpi / 4)
        painter.fillRect(x, 0, x % kDpi == 0 ? 3 : 1, page.height(), x % kDpi == 0 ? Qt::black : Qt::lightGray);
    for (int y = 0; y < page.height(); y += kDpi / 4)
        painter.fillRect(0, y, page.width(), y % kDpi == 0 ? 3 : 1, y % kDpi == 0 ? Qt::black : Qt::lightGray);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(kDpi / 6);
    painter.setFont(font);
    for (int row = 0; row * kDpi / 2 < page.height(); ++row)
        painter.drawText(QPointF(kDpi / 8.0, row * kDpi / 2.0 + kDpi / 3.0),
                         QStringLiteral("Row %1 - the quick brown fox jumps over the lazy dog 0123456789").arg(row));
    font.setPixelSize(kDpi / 2);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::darkRed);
    painter.drawText(page.rect(), Qt::AlignCenter, QStringLiteral("Tenvoria preview"));
    return page;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    shell::QtMessageBoxes boxes;
    const runtime::ScopedMessageBoxes useBoxes(boxes);
    const QStringList args = app.arguments().mid(1);

    QImage page;
    if (!args.isEmpty() && !args.first().startsWith(QLatin1String("--")))
        page.load(args.first());
    else if (args.contains(QStringLiteral("--letter")))
        page = drawnPage(8.5, 11);
    else
        page = drawnPage(7, 9.33);

    QTemporaryDir scratch;
    const QString document = scratch.filePath(QStringLiteral("qarvel12345678.doc"));
    QFile file(document);
    if (file.open(QIODevice::WriteOnly))
        file.write("demo document");
    file.close();

    preview::PreviewWindow form;
    form.handOver(page, document);
    form.show();
    return app.exec();
}
