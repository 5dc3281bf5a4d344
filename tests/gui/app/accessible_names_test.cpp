// Assistive technology reaches every input control of every window and
// dialog the main window owns, the AVI player's included: each spin box, text
// box and slider has a name (its own or that of the label it is the buddy of).
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>

#include "app/main_window_test_fixture.h"

namespace {

bool is_input_control(const QWidget* w) {
    // A scroll bar belongs to its scroll area, and the text boxes inside spin
    // and combo boxes are parts of those.
    if (qobject_cast<const QScrollBar*>(w)) return false;
    if (qobject_cast<const QLineEdit*>(w))
        return !qobject_cast<const QAbstractSpinBox*>(w->parentWidget()) &&
               !qobject_cast<const QComboBox*>(w->parentWidget());
    return qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QAbstractSlider*>(w);
}

TEST_F(MainWindowTest, EveryInputControlOfTheDialogsHasAnAccessibleName) {
    int checked = 0;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!is_input_control(w)) continue;
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(node, nullptr);
        EXPECT_FALSE(node->text(QAccessible::Name).trimmed().isEmpty())
            << w->metaObject()->className() << " " << w->objectName().toStdString() << " in "
            << w->window()->objectName().toStdString();
        ++checked;
    }
    EXPECT_GE(checked, 20);  // the walk did reach the dialogs
}

}  // namespace
