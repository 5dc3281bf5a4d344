// Every menu shortcut works with an image window, the palette window or the
// player focused: real key presses on the focused widget, counted by actions
// whose commands are unhooked.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <map>

#include "app/main_window_test_fixture.h"
#include "avi/avi_player.h"
#include "views/palette_window.h"

namespace {

const char* const menu_keys[] = {"Ctrl+O", "Ctrl+W", "Ctrl+S", "Ctrl+Q", "Ctrl+Z",
                                 "Ctrl+Shift+Z", "Ctrl+C", "Ctrl+G", "Ctrl+Up", "Ctrl+Down",
                                 "Ctrl+R", "Ctrl+T", "F7"};

class KeyboardShortcutsTest : public MainWindowTest {
  protected:
    void count_triggers(const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            if (action->menu()) count_triggers(action->menu()->actions());
            const QString keys = action->shortcut().toString();
            if (keys.isEmpty()) continue;
            ++counts[keys];  // 2 for a key of two actions
            QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
            QObject::connect(action, &QAction::triggered, [this, keys] { ++counts[keys]; });
        }
    }

    std::string missed_in(QMdiSubWindow* frame, QWidget* widget) {
        window->mdi_area()->setActiveSubWindow(frame);
        widget->setFocus();
        std::string missed;
        for (const char* keys : menu_keys) {
            QWidget* focus = QApplication::focusWidget();
            if (!focus || !frame->isAncestorOf(focus)) return "focus lost";
            const int before = counts[keys];
            const QKeyCombination key = QKeySequence(keys)[0];
            QTest::keyClick(focus, key.key(), key.keyboardModifiers());
            if (counts[keys] != before + 1) missed += std::string(keys) + " ";
        }
        return missed;
    }

    std::map<QString, int> counts;
};

TEST_F(KeyboardShortcutsTest, EveryMenuShortcutWorksFromEachKindOfSubWindow) {
    QApplication::setActiveWindow(window.get());
    open_image(write_argb("a.png", 8, 8));
    count_triggers(window->menuBar()->actions());
    ASSERT_EQ(counts.size(), std::size(menu_keys));
    for (const auto& [keys, count] : counts) ASSERT_EQ(count, 1) << keys.toStdString();

    QMdiSubWindow* image = window->mdi_area()->activeSubWindow();
    EXPECT_EQ(missed_in(image, image->widget()), "") << "image window";
    auto* palette_frame = qobject_cast<QMdiSubWindow*>(window->palette_panel->parentWidget());
    palette_frame->show();
    EXPECT_EQ(missed_in(palette_frame, window->palette_panel), "") << "palette window";
    window->player->show();
    EXPECT_EQ(missed_in(window->player, window->player->widget()), "") << "player";
}

}  // namespace
