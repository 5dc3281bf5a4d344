// The main window's menu tree and the commands that need no image window.
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <gtest/gtest.h>

#include "app/form1.h"
#include "app/form1_test_fixture.h"
#include "settings/clgbase.h"
#include "views/mdichild.h"

namespace {

struct item {
    const char* name;  // "-" for a separator
    const char* text;
    const char* shortcut;
};

// Every menu in display order, texts byte for byte.
// clang-format off
const std::vector<std::pair<const char*, std::vector<item>>> menu_tree = {
    {"toolStripMenuItem_00",
      {{"toolStripMenuItem000", "이미지 열기 ", "Ctrl+O"}, {"toolStripMenuItem010", "클립보드 이미지 열기    ", ""},
      {"toolStripMenuItem001", "이미지 다시 읽기", ""}, {"-", "", ""},
      {"toolStripMenuItem002", "이미지 닫기  ", "Ctrl+W"}, {"-", "", ""},
      {"toolStripMenuItem003", "이미지 저장 ", "Ctrl+S"}, {"toolStripMenuItem004", "이미지 다른이름저장", ""},
      {"-", "", ""}, {"toolStripMenuItem011", "인쇄", ""},
      {"toolStripMenuItem013", "인쇄 전 확인  ", ""}, {"toolStripMenuItem012", "최근 작업 파일 ", ""},
      {"-", "", ""}, {"toolStripMenuItem005", "환경설정", ""},
      {"toolStripMenuItem007", "배치 처리", "F7"}, {"-", "", ""},
      {"toolStripMenuItem006", "종료", "Ctrl+Q"}}},
    {"toolStripMenuItem_01",
      {{"toolStripMenuItem100", "되돌리기   ", "Ctrl+Z"}, {"toolStripMenuItem101", "되돌리기 취소  ", "Ctrl+Shift+Z"},
      {"-", "", ""}, {"toolStripMenuItem102", "클립보드에 복사   ", "Ctrl+C"}}},
    {"toolStripMenuItem_02",
      {{"toolStripMenuItem200", "그리드 표시", "Ctrl+G"}, {"toolStripMenuItem201", "이미지 확대", "Ctrl+Up"},
      {"toolStripMenuItem202", "이미지 축소", "Ctrl+Down"}, {"-", "", ""},
      {"toolStripMenuItem203", "팔레트 윈도우  ", ""}, {"toolStripMenuItem204", "열려 있는 윈도우 ", ""},
      {"toolStripMenuItem205", "リストビュー", ""}, {"toolStripMenuItem206", "AVI 윈도우 ", ""}}},
    {"toolStripMenuItem_03",
      {{"toolStripMenuItem390", "감색", "Ctrl+R"}, {"toolStripMenuItem391", "감색 옵션 설정 ", ""},
      {"-", "", ""}, {"toolStripMenuItem330", "회전/반전", ""},
      {"toolStripMenuItem331", "컬러 변환", ""}, {"-", "", ""},
      {"toolStripMenuItem305", "ARGB 포맷으로 변환 ", ""}, {"toolStripMenuItem306", "사이즈변경", "Ctrl+T"},
      {"toolStripMenuItem307", "확대/축소", ""}}}, {"toolStripMenuItem330",
      {{"toolStripMenuItem301", "우로 90°회전 ", ""}, {"toolStripMenuItem302", "좌로 90°회전 ", ""},
      {"toolStripMenuItem303", "상하 180°반전", ""}, {"toolStripMenuItem304", "좌우 180°반전", ""}}},
      {"toolStripMenuItem331", {{"toolStripMenuItem310", "휘도를 알파에 기입  ", ""},
      {"toolStripMenuItem311", "알파를 모두 1로 함", ""}, {"toolStripMenuItem312", "빼는색의알파를 0으로 함", ""},
      {"toolStripMenuItem313", "모노크롬", ""}, {"toolStripMenuItem314", "반전", ""},
      {"toolStripMenuItem315", "알파 0부에 불투명경계 색상 취득", ""}, {"toolStripMenuItem316", "[투과대상색]을 백 컬러로 한다", ""},
      {"toolStripMenuItem317", "[투과대상색]을 1팔레트로 이동", ""}}},
    {"toolStripMenuItem_10", {{"toolStripMenuItem1000", "MEVRA에 대해 ", ""}}},
};
// clang-format on

TEST_F(Form1Test, WindowFrameAndStatusLabel) {
    EXPECT_EQ(window->windowTitle(), "MEVRA");
    EXPECT_EQ(window->minimumSize(), QSize(480, 360));
    EXPECT_TRUE(window->acceptDrops());
    QLabel* label = window->toolStripStatusLabel1;
    EXPECT_EQ(label->text(), "0");
    EXPECT_EQ(label->width(), 48);
    EXPECT_TRUE(label->alignment() & Qt::AlignRight);
    EXPECT_FALSE(window->statusBar()->isSizeGripEnabled());
}

TEST_F(Form1Test, MenuTreeInDisplayOrder) {
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
    EXPECT_FALSE(find_action(window.get(), "toolStripMenuItem205")->isVisible());
    for (const char* check : {"toolStripMenuItem200", "toolStripMenuItem203",
                              "toolStripMenuItem205", "toolStripMenuItem206"})
        EXPECT_TRUE(find_action(window.get(), check)->isCheckable()) << check;
    EXPECT_EQ(find_action(window.get(), "toolStripMenuItem006")->toolTip(), "apprication exit");
    EXPECT_EQ(find_action(window.get(), "toolStripMenuItem000")->toolTip(), "open image file");
}

TEST_F(Form1Test, CommandsWithoutAnImageWindow) {
    struct expectation {
        const char* action;
        const char* text;
        const char* caption;
    };
    const expectation table[] = {
        {"toolStripMenuItem001", "読み直す画像を選んでください", "ファイルの読み直し"},
        {"toolStripMenuItem390", "減色する画像を選んでください", "エラー"},
        {"toolStripMenuItem301", "変換する画像を選んでください", "변환"},
        {"toolStripMenuItem310", "変換する画像を選んでください", "변환"},
        {"toolStripMenuItem317", "変換する画像を選んでください", "변환"},
        {"toolStripMenuItem306", "サイズ変更する画像を選んでください", "トリミング"},
        {"toolStripMenuItem307", "拡大、縮小する画像を選んでください", "トリミング"},
        // Silent without a window.
        {"toolStripMenuItem002", nullptr, nullptr},
        {"toolStripMenuItem003", nullptr, nullptr},
        {"toolStripMenuItem004", nullptr, nullptr},
        {"toolStripMenuItem011", nullptr, nullptr},
        {"toolStripMenuItem013", nullptr, nullptr},
        {"toolStripMenuItem100", nullptr, nullptr},
        {"toolStripMenuItem101", nullptr, nullptr},
        {"toolStripMenuItem102", nullptr, nullptr},
        {"toolStripMenuItem305", nullptr, nullptr},
        {"toolStripMenuItem010", nullptr, nullptr},
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
    emit window->findChild<QMenu*>("toolStripMenuItem_03")->aboutToShow();
    EXPECT_FALSE(find_action(window.get(), "toolStripMenuItem390")->isEnabled());
    EXPECT_FALSE(find_action(window.get(), "toolStripMenuItem305")->isEnabled());
    EXPECT_TRUE(find_action(window.get(), "toolStripMenuItem391")->isEnabled());
}

TEST_F(Form1Test, ZoomAndGridWithoutAWindowAreGlobal) {
    find_action(window.get(), "toolStripMenuItem201")->trigger();
    find_action(window.get(), "toolStripMenuItem201")->trigger();
    EXPECT_EQ(mevra::settings().zoom_level, 6);
    find_action(window.get(), "toolStripMenuItem200")->trigger();
    EXPECT_EQ(mevra::settings().grid_mode, 1);
    mdichild* child = open_image(write_argb("a.png", 4, 3));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->image->zoom_scale_level, 6);
    EXPECT_EQ(child->image->grid_mode, 1);
}

TEST_F(Form1Test, ExitAsksAfterTheWindowsAndCancelKeepsRunning) {
    mdichild* child = open_image(write_argb("a.png", 4, 3));
    child->undo_add();  // unsaved changes
    {
        mevra::test::scripted_ui ui;
        ui.answer_next(mevra::msg_answer::no);      // do not save
        ui.answer_next(mevra::msg_answer::cancel);  // do not exit
        find_action(window.get(), "toolStripMenuItem006")->trigger();
        ASSERT_EQ(ui.messages.size(), 2u);
        EXPECT_EQ(ui.messages[0].caption, "저장 ");
        EXPECT_EQ(ui.messages[1].text, "어플리케이션을 종료합니까?  ");
        EXPECT_EQ(ui.messages[1].caption, "종료확인");
        EXPECT_EQ(ui.messages[1].buttons, mevra::msg_buttons::ok_cancel);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(mdichild::lastActive, child);
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
    EXPECT_EQ(mdichild::lastActive, nullptr);
}

}  // namespace
