// The anchor of the start-up benchmark: the least a Qt 6 program with a
// window like the main window's can do, a window holding an 81 x 7 table.
#include <QApplication>
#include <QTableWidget>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QTableWidget table(81, 7);
    table.resize(772, 590);
    table.show();
    return app.exec();
}
