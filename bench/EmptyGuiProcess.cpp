// The floor of any headless run: a process that starts Qt's GUI layer on the offscreen platform,
// as tenvoria-render does, and ends. Its time is what no work inside a run can remove.
#include <QGuiApplication>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return 0;
}
