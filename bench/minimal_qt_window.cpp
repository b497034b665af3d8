// The yardstick for start-up: the least a Qt 6 window of eleven buttons takes.
#include <QApplication>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("minimal"));
    window.setFixedSize(382, 247);
    for (int i = 0; i <= 10; ++i) {
        auto* button =
            new QPushButton(QStringLiteral("*%1#").arg(i, 2, 10, QLatin1Char('0')), &window);
        button->setGeometry(10 + (i % 3) * 80, 10 + (i / 3) * 30, 65, 25);
    }
    window.show();
    return app.exec();
}
