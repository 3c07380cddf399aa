// The floor of start-up cost, for reference: a Qt Widgets program that shows one empty window.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("minimal-window"));
    window.resize(440, 236);
    window.show();
    return app.exec();
}
