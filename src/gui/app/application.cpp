#include "app/application.h"

#include <QApplication>
#include <QIcon>

#include "app/interface_language.h"
#include "app/qt_ports.h"

namespace mevra::gui {

void prepare_application() {
    QApplication::setApplicationName("mevra");
    QGuiApplication::setDesktopFileName(MEVRA_APP_ID);
    QApplication::setWindowIcon(QIcon::fromTheme("mevra", QIcon(":/icons/mevra.png")));
    // The application owns the translators; every window is made after them.
    interface_language::from_environment(qApp);
    install_qt_ports();
}

}  // namespace mevra::gui
