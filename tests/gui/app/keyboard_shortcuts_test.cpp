// Every shortcut of the menus works from the keyboard whichever sub-window
// has the focus: an image window, the palette window or the AVI player. Real
// key presses go to the focused widget, as a user's would; the commands are
// unhooked first and a count on each action says whether the key reached it.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <map>

#include "app/main_window_test_fixture.h"
#include "avi/avi_player.h"
#include "views/palette_window.h"

namespace {

const char* const menu_keys[] = {"Ctrl+O", "Ctrl+W",  "Ctrl+S",    "Ctrl+Q", "Ctrl+Z",
                                 "Ctrl+Shift+Z", "Ctrl+C", "Ctrl+G", "Ctrl+Up", "Ctrl+Down",
                                 "Ctrl+R", "Ctrl+T",  "F7"};

class KeyboardShortcutsTest : public MainWindowTest {
  protected:
    void count_triggers(const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            if (action->menu()) count_triggers(action->menu()->actions());
            const QString keys = action->shortcut().toString();
            if (keys.isEmpty()) continue;
            ASSERT_EQ(counts.count(keys), 0u) << "two actions for " << keys.toStdString();
            counts[keys] = 0;
            QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
            QObject::connect(action, &QAction::triggered, [this, keys] { ++counts[keys]; });
        }
    }

    // Focuses `widget` inside `frame`, presses every key on the focused
    // widget and returns the keys that did not run their action once.
    std::string press_all_in(QMdiSubWindow* frame, QWidget* widget) {
        window->mdi_area()->setActiveSubWindow(frame);
        widget->setFocus();
        std::string missed;
        for (const char* keys : menu_keys) {
            QWidget* focus = QApplication::focusWidget();
            if (!focus || !frame->isAncestorOf(focus)) return "focus not in the sub-window";
            const QKeyCombination key = QKeySequence(keys)[0];
            const int before = counts[keys];
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

    QMdiSubWindow* image = window->mdi_area()->activeSubWindow();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(press_all_in(image, image->widget()), "") << "image window";

    auto* palette_frame = qobject_cast<QMdiSubWindow*>(window->palette_panel->parentWidget());
    ASSERT_NE(palette_frame, nullptr);
    palette_frame->show();
    EXPECT_EQ(press_all_in(palette_frame, window->palette_panel), "") << "palette window";

    window->player->show();
    EXPECT_EQ(press_all_in(window->player, window->player->widget()), "") << "player";
}

}  // namespace
