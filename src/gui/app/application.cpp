#include "app/application.h"

#include <QApplication>
#include <QIcon>

#include "app/qt_ports.h"

namespace mevra::gui {

void prepare_application() {
    QApplication::setApplicationName("mevra");
    QGuiApplication::setDesktopFileName(MEVRA_APP_ID);
    QApplication::setWindowIcon(QIcon::fromTheme("mevra", QIcon(":/icons/mevra.png")));
    install_qt_ports();
}

}  // namespace mevra::gui
