// A bare Qt Widgets window, the yardstick of how fast a Qt program can show
// a window on this machine: the start-up benchmark times it beside ours.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QLabel window(QStringLiteral("A bare Qt window"));
    window.setWindowTitle(QStringLiteral("Bare Qt Window"));
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
