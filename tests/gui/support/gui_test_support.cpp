#include "support/gui_test_support.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
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
            QPointer<QWidget> guard(modal);
            handle(modal);
            if (auto* dialog = qobject_cast<QDialog*>(guard.data()); dialog && dialog->isVisible())
                dialog->reject();
        } else if (++*tries > 500) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

void type_file_name(QWidget* file_dialog, const QString& name) {
    auto* field = file_dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(field, nullptr) << "not a file dialog of Qt's own";
    field->setText(name);
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
