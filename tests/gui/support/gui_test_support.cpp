#include "support/gui_test_support.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace mevra::test {

void on_next_modal(std::function<void(QWidget*)> handle) {
    auto* timer = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, handle] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            handle(modal);
        } else if (++*tries > 500) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

QAction* find_action(QWidget* window, const QString& name) {
    auto* action = window->findChild<QAction*>(name);
    EXPECT_NE(action, nullptr) << name.toStdString();
    return action;
}

void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace mevra::test
