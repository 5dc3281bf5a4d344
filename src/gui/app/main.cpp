// The desktop application's entry: the Qt ports, one main window, the files
// named on the command line (file managers and the desktop entry pass them),
// and the event loop.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include "app/command_line.h"
#include "app/form1.h"
#include "app/interface_language.h"
#include "app/qt_ports.h"
#include "dialogs/conv_option.h"
#include "views/mdichild.h"

namespace {

// Test-only hook for scripts/screenshots, which runs the program under Xvfb
// where no window manager or user can drive it: with MEVRA_SCREENSHOT=<folder>
// the program saves main_window.png and reduction_options.png there and
// quits without asking or writing the settings file.
void take_screenshots(Form1& window, const QString& folder) {
    QTimer::singleShot(1500, &window, [&window, folder] {
        int left = 8;  // the image windows side by side, not cascaded
        for (QMdiSubWindow* image : window.mdi_area()->subWindowList(QMdiArea::CreationOrder))
            if (qobject_cast<mdichild*>(image)) {
                image->move(left, 8);
                left += image->width() + 8;
            }
        window.grab().save(QDir(folder).filePath("main_window.png"));
        QTimer::singleShot(500, &window, [folder] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                dialog->grab().save(QDir(folder).filePath("reduction_options.png"));
                dialog->close();
            }
            QTimer::singleShot(0, [] { QApplication::exit(0); });
        });
        window.fgensyokuopt->OpenGenshokuDialog();
    });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("mevra");
    QGuiApplication::setDesktopFileName("mevra");
    QApplication::setWindowIcon(QIcon::fromTheme("mevra", QIcon(":/icons/mevra.png")));
    // Before the first window, so every text is made in the chosen language.
    const mevra::gui::interface_language language(QLocale::system());
    install_qt_ports();
    Form1 window;
    window.show();
    mevra::gui::open_command_line(window, QApplication::arguments());
    if (const QString folder = qEnvironmentVariable("MEVRA_SCREENSHOT"); !folder.isEmpty())
        take_screenshots(window, folder);
    return app.exec();
}
