// The yardstick for start-up: the least a Qt Widgets program does to put one
// empty window on the screen.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(300, 340);
    window.show();
    return app.exec();
}
