// The desktop application's entry: the Qt ports, one main window and the
// event loop. Command-line arguments are not used.
#include <QApplication>

#include "app/form1.h"
#include "app/qt_ports.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    install_qt_ports();
    Form1 window;
    window.show();
    return app.exec();
}
