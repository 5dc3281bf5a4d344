// The main window's menu tree and the commands that need no image window.
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/main_window_test_fixture.h"
#include "settings/clgbase.h"
#include "views/image_window.h"

namespace {

struct item {
    const char* name;  // "-" for a separator
    const char* text;
    const char* shortcut;
};

// Every menu in display order, texts byte for byte.
// clang-format off
const std::vector<std::pair<const char*, std::vector<item>>> menu_tree = {
    {"file_menu",
      {{"open_image_action", "이미지 열기 ", "Ctrl+O"}, {"open_clipboard_action", "클립보드 이미지 열기    ", ""},
      {"reload_image_action", "이미지 다시 읽기", ""}, {"-", "", ""},
      {"close_image_action", "이미지 닫기  ", "Ctrl+W"}, {"-", "", ""},
      {"save_image_action", "이미지 저장 ", "Ctrl+S"}, {"save_image_as_action", "이미지 다른이름저장", ""},
      {"-", "", ""}, {"print_action", "인쇄", ""},
      {"print_preview_action", "인쇄 전 확인  ", ""}, {"recent_files_menu", "최근 작업 파일 ", ""},
      {"-", "", ""}, {"environment_options_action", "환경설정", ""},
      {"batch_action", "배치 처리", "F7"}, {"-", "", ""},
      {"exit_action", "종료", "Ctrl+Q"}}},
    {"edit_menu",
      {{"undo_action", "되돌리기   ", "Ctrl+Z"}, {"redo_action", "되돌리기 취소  ", "Ctrl+Shift+Z"},
      {"-", "", ""}, {"copy_action", "클립보드에 복사   ", "Ctrl+C"}}},
    {"view_menu",
      {{"grid_action", "그리드 표시", "Ctrl+G"}, {"zoom_in_action", "이미지 확대", "Ctrl+Up"},
      {"zoom_out_action", "이미지 축소", "Ctrl+Down"}, {"-", "", ""},
      {"palette_window_action", "팔레트 윈도우  ", ""}, {"windows_menu", "열려 있는 윈도우 ", ""},
      {"list_view_action", "リストビュー", ""}, {"avi_player_action", "AVI 윈도우 ", ""}}},
    {"convert_menu",
      {{"reduce_colours_action", "감색", "Ctrl+R"}, {"reduction_options_action", "감색 옵션 설정 ", ""},
      {"-", "", ""}, {"rotate_menu", "회전/반전", ""},
      {"colour_menu", "컬러 변환", ""}, {"-", "", ""},
      {"to_argb_action", "ARGB 포맷으로 변환 ", ""}, {"change_size_action", "사이즈변경", "Ctrl+T"},
      {"scale_action", "확대/축소", ""}}}, {"rotate_menu",
      {{"rotate_right_action", "우로 90°회전 ", ""}, {"rotate_left_action", "좌로 90°회전 ", ""},
      {"flip_vertical_action", "상하 180°반전", ""}, {"flip_horizontal_action", "좌우 180°반전", ""}}},
      {"colour_menu", {{"luminance_to_alpha_action", "휘도를 알파에 기입  ", ""},
      {"opaque_alpha_action", "알파를 모두 1로 함", ""}, {"key_colour_clear_action", "빼는색의알파를 0으로 함", ""},
      {"monochrome_action", "모노크롬", ""}, {"invert_action", "반전", ""},
      {"edge_colour_action", "알파 0부에 불투명경계 색상 취득", ""}, {"transparent_to_back_colour_action", "[투과대상색]을 백 컬러로 한다", ""},
      {"transparent_to_first_entry_action", "[투과대상색]을 1팔레트로 이동", ""}}},
    {"help_menu", {{"about_action", "MEVRA에 대해 ", ""}}},
};
// clang-format on

TEST_F(MainWindowTest, WindowFrameAndStatusLabel) {
    EXPECT_EQ(window->windowTitle(), "MEVRA");
    EXPECT_EQ(window->minimumSize(), QSize(480, 360));
    EXPECT_TRUE(window->acceptDrops());
    QLabel* label = window->status_label;
    EXPECT_EQ(label->text(), "0");
    EXPECT_EQ(label->width(), 48);
    EXPECT_TRUE(label->alignment() & Qt::AlignRight);
    EXPECT_FALSE(window->statusBar()->isSizeGripEnabled());
}

TEST_F(MainWindowTest, MenuTreeInDisplayOrder) {
    QStringList bar;
    for (QAction* a : window->menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, QStringList({"파일  ", "편집", "표시", "변환", "도움말"}));
    for (const auto& [menu_name, items] : menu_tree) {
        auto* menu = window->findChild<QMenu*>(menu_name);
        ASSERT_NE(menu, nullptr) << menu_name;
        const QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(items.size())) << menu_name;
        for (size_t i = 0; i < items.size(); ++i) {
            QAction* a = actions[static_cast<qsizetype>(i)];
            if (std::string(items[i].name) == "-") {
                EXPECT_TRUE(a->isSeparator()) << menu_name << " " << i;
                continue;
            }
            EXPECT_EQ(a->objectName(), items[i].name);
            EXPECT_EQ(a->text(), QString::fromUtf8(items[i].text)) << items[i].name;
            EXPECT_EQ(a->shortcut(), QKeySequence(items[i].shortcut)) << items[i].name;
        }
    }
    EXPECT_FALSE(find_action(window.get(), "list_view_action")->isVisible());
    for (const char* check :
         {"grid_action", "palette_window_action", "list_view_action", "avi_player_action"})
        EXPECT_TRUE(find_action(window.get(), check)->isCheckable()) << check;
    EXPECT_EQ(find_action(window.get(), "exit_action")->toolTip(), "apprication exit");
    EXPECT_EQ(find_action(window.get(), "open_image_action")->toolTip(), "open image file");
}

TEST_F(MainWindowTest, CommandsWithoutAnImageWindow) {
    struct expectation {
        const char* action;
        const char* text;
        const char* caption;
    };
    const expectation table[] = {
        {"reload_image_action", "読み直す画像を選んでください", "ファイルの読み直し"},
        {"reduce_colours_action", "減色する画像を選んでください", "エラー"},
        {"rotate_right_action", "変換する画像を選んでください", "변환"},
        {"luminance_to_alpha_action", "変換する画像を選んでください", "변환"},
        {"transparent_to_first_entry_action", "変換する画像を選んでください", "변환"},
        {"change_size_action", "サイズ変更する画像を選んでください", "トリミング"},
        {"scale_action", "拡大、縮小する画像を選んでください", "トリミング"},
        // Silent without a window.
        {"close_image_action", nullptr, nullptr},
        {"save_image_action", nullptr, nullptr},
        {"save_image_as_action", nullptr, nullptr},
        {"print_action", nullptr, nullptr},
        {"print_preview_action", nullptr, nullptr},
        {"undo_action", nullptr, nullptr},
        {"redo_action", nullptr, nullptr},
        {"copy_action", nullptr, nullptr},
        {"to_argb_action", nullptr, nullptr},
        {"open_clipboard_action", nullptr, nullptr},
    };
    for (const expectation& e : table) {
        mevra::test::scripted_ui ui;
        find_action(window.get(), e.action)->trigger();
        if (!e.text) {
            EXPECT_TRUE(ui.messages.empty()) << e.action;
            continue;
        }
        ASSERT_EQ(ui.messages.size(), 1u) << e.action;
        EXPECT_EQ(ui.messages[0].text, e.text);
        EXPECT_EQ(ui.messages[0].caption, e.caption);
        EXPECT_EQ(ui.messages[0].buttons, mevra::msg_buttons::ok);
    }
    EXPECT_EQ(image_window_count(), 0);
    // Reduce and To ARGB are the Convert items that need an image window.
    emit window->findChild<QMenu*>("convert_menu")->aboutToShow();
    EXPECT_FALSE(find_action(window.get(), "reduce_colours_action")->isEnabled());
    EXPECT_FALSE(find_action(window.get(), "to_argb_action")->isEnabled());
    EXPECT_TRUE(find_action(window.get(), "reduction_options_action")->isEnabled());
}

TEST_F(MainWindowTest, ZoomAndGridWithoutAWindowAreGlobal) {
    find_action(window.get(), "zoom_in_action")->trigger();
    find_action(window.get(), "zoom_in_action")->trigger();
    EXPECT_EQ(mevra::settings().zoom_level, 6);
    find_action(window.get(), "grid_action")->trigger();
    EXPECT_EQ(mevra::settings().grid_mode, 1);
    image_window* child = open_image(write_argb("a.png", 4, 3));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->image->zoom_scale_level, 6);
    EXPECT_EQ(child->image->grid_mode, 1);
}

TEST_F(MainWindowTest, GoesWithItsImagesOpen) {
    open_image(write_argb("a.png", 4, 3));
    window.reset();  // the palette window may go before the images
}

TEST_F(MainWindowTest, ExitAsksAfterTheWindowsAndCancelKeepsRunning) {
    image_window* child = open_image(write_argb("a.png", 4, 3));
    child->undo_add();  // unsaved changes
    {
        mevra::test::scripted_ui ui;
        ui.answer_next(mevra::msg_answer::no);      // do not save
        ui.answer_next(mevra::msg_answer::cancel);  // do not exit
        find_action(window.get(), "exit_action")->trigger();
        ASSERT_EQ(ui.messages.size(), 2u);
        EXPECT_EQ(ui.messages[0].caption, "저장 ");
        EXPECT_EQ(ui.messages[1].text, "어플리케이션을 종료합니까?  ");
        EXPECT_EQ(ui.messages[1].caption, "종료확인");
        EXPECT_EQ(ui.messages[1].buttons, mevra::msg_buttons::ok_cancel);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->active_image(), child);
    }
    {
        // A window that refuses keeps the program running even after OK.
        mevra::test::scripted_ui ui;
        ui.answer_next(mevra::msg_answer::cancel);
        ui.answer_next(mevra::msg_answer::ok);
        window->close();
        EXPECT_EQ(ui.messages.size(), 2u);
        EXPECT_TRUE(window->isVisible());
    }
    mevra::test::scripted_ui ui;
    ui.answer_next(mevra::msg_answer::no);
    ui.answer_next(mevra::msg_answer::ok);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->active_image(), nullptr);
}

}  // namespace
