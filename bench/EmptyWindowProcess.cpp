// The floor of any start of a Widgets program on the display: the application object and an empty
// main window of the program's size, shown. bench/startup-outside.sh times it beside the program,
// so that a start's figure can be read against what no work inside the program can remove.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tenvoria floor"));
    window.resize(698, 710);
    window.show();
    return QApplication::exec();
}
