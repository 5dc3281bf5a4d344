// The desktop application's entry: the application set up, one main window,
// the files named on the command line (file managers and the desktop entry
// pass them), and the event loop.
#include <QApplication>

#include "app/application.h"
#include "app/command_line.h"
#include "app/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    mevra::gui::prepare_application();
    main_window window;
    window.show();
    mevra::gui::open_command_line(window, QApplication::arguments());
    return app.exec();
}
