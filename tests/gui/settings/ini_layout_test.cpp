// Window placements between the settings file's layout record and real
// widgets on the offscreen platform.
#include <QDialog>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

#include "app/ini_layout.h"

namespace mevra {
namespace {

struct windows_under_test {
    QMainWindow main;
    QMdiArea* area = new QMdiArea;
    QMdiSubWindow* palette;
    QMdiSubWindow* avi;
    QDialog listview, option;

    windows_under_test() {
        main.setCentralWidget(area);
        palette = area->addSubWindow(new QWidget);
        avi = area->addSubWindow(new QWidget);
        palette->show();
        avi->show();
    }
    gui::layout_windows all() { return {&main, palette, &listview, avi, &option}; }
};

TEST(IniLayout, WithoutAFileTheWindowsStartAsStated) {
    windows_under_test w;
    gui::apply_layout(w.all(), missing_file_layout());
    w.main.show();
    EXPECT_TRUE(w.main.isMaximized());
    EXPECT_FALSE(w.palette->isVisible());
    EXPECT_FALSE(w.avi->isVisible());
    EXPECT_FALSE(w.listview.isVisible());
    EXPECT_EQ(w.palette->pos(), QPoint(520, 40));  // inside the MDI area
    EXPECT_EQ(w.option.geometry().topLeft(), QPoint(64, 64));

    const window_layout back = gui::collect_layout(w.all());
    EXPECT_EQ(back.main_state, state_maximised);
    EXPECT_EQ(back.palette.left, 520);
    EXPECT_EQ(back.palette.visible, false);
    EXPECT_EQ(back.option_dialog.left, 64);
    EXPECT_FALSE(back.option_dialog.visible.has_value());
}

TEST(IniLayout, PlacementsComeBackAsTheyWereStored) {
    windows_under_test w;
    const QSize option_size = w.option.size();
    window_layout stored;
    stored.main_window = {.left = 30, .top = 40, .width = 500, .height = 400, .visible = {}};
    stored.main_state = state_maximised;
    stored.palette = {.left = 12, .top = 14, .width = {}, .height = {}, .visible = true};
    stored.avi_player = {.left = 5, .top = 6, .width = 320, .height = 240, .visible = true};
    stored.listview = {.left = 100, .top = 90, .width = {}, .height = {}, .visible = true};
    stored.option_dialog = {.left = 70, .top = 80, .width = {}, .height = {}, .visible = {}};
    gui::apply_layout(w.all(), stored);
    w.main.show();
    EXPECT_TRUE(w.main.isMaximized());
    EXPECT_EQ(w.option.size(), option_size) << "placing never resizes";

    // A maximised main window gives its restore bounds and state 2.
    EXPECT_EQ(gui::collect_layout(w.all()), stored);
    w.main.showNormal();
    placement bounds;
    std::optional<int> state;
    gui::collect_main_window(&w.main, bounds, state);
    EXPECT_EQ(state, state_normal);
    EXPECT_EQ(bounds, stored.main_window);
}

TEST(IniLayout, ATopLevelWindowOffEveryScreenComesBack) {
    windows_under_test w;
    const auto screens = gui::screen_areas();
    ASSERT_FALSE(screens.empty());
    placement far{
        .left = screens[0].left + 25000, .top = -20000, .width = {}, .height = {}, .visible = {}};
    gui::apply_placement(&w.option, far);
    const QRect r = w.option.geometry();
    EXPECT_GE(r.x(), screens[0].left);
    EXPECT_GE(r.y(), screens[0].top);
    EXPECT_LE(r.y(), screens[0].top + screens[0].height);
    // A sub-window is left where the file put it: the MDI area scrolls to it.
    gui::apply_placement(w.palette, far);
    EXPECT_EQ(w.palette->pos(), QPoint(*far.left, *far.top));
}

}  // namespace
}  // namespace mevra
