// The floor of any headless run: a process that starts Qt's GUI layer on the offscreen platform,
// as tenvoria-render does, and ends. Its time is what no work inside a run can remove.
// With --text it also draws one line of 8 pt Tahoma into a small picture: the floor of any run
// that draws text, which must load the font configuration, Qt's font database and one font.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstring>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        QImage line(400, 40, QImage::Format_RGB32);
        line.fill(Qt::white);
        QPainter painter(&line);
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(21); // 8 pt at 192 dpi
        painter.setFont(font);
        painter.drawText(4, 30, QStringLiteral("Name: Dorian Pellwick Jr."));
    }
    return 0;
}
