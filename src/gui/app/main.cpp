// The desktop application's entry: one main window and the event loop.
#include <QApplication>

#include "app/form1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Form1 window;
    window.showMaximized();
    return app.exec();
}
