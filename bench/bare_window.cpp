// The yardstick of the start-up and idle benches: a bare Qt window of the
// console's size that runs the same 10 ms timer as the console's polling of
// the unit, and does nothing else.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.resize(1024, 768);
    QTimer poll;
    int iTicks = 0;
    QObject::connect(&poll, &QTimer::timeout, [&iTicks] { ++iTicks; });
    poll.start(10);
    window.show();
    return QApplication::exec();
}
