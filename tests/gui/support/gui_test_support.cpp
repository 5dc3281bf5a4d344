#include "support/gui_test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

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
            // A question the dialog asks inside the handler (say, whether to
            // overwrite a file) would wait for ever: it fails the test instead.
            auto handling = std::make_shared<bool>(true);
            QTimer::singleShot(5000, qApp, [handling, guard] {
                auto* nested = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                if (!*handling || !nested || nested == guard) return;
                ADD_FAILURE() << "unexpected dialog: " << nested->windowTitle().toStdString();
                nested->reject();
            });
            handle(modal);
            *handling = false;
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
    // Typing into the focused field drops the files selected in the list;
    // without the focus the dialog would keep them and choose those instead.
    for (QAbstractItemView* view : file_dialog->findChildren<QAbstractItemView*>())
        if (view->selectionModel()) view->clearSelection();
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
