// The smallest Qt Widgets window, as a yardstick for the simulator's start-up time.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle("Bare Qt window");
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
