#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Tonfang"));
    window.setWindowTitle(QStringLiteral("Tonfang - Quellwerk"));
    window.resize(343, 497);
    window.show();
    return app.exec();
}
