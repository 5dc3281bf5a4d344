// The main window with the settings file: its start without one, the write at
// a confirmed exit, a restart that brings everything back, damaged files, and
// the files named on the command line.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>
#include <QUrl>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/main_window.h"
#include "avi/avi_player.h"
#include "dialogs/reduction_options_dialog.h"
#include "settings/clgbase.h"
#include "settings/ini_file.h"
#include "support/gui_test_support.h"
#include "support/test_avi.h"
#include "support/test_support.h"
#include "views/image_window.h"
#include "views/palette_window.h"

namespace mevra {
namespace {

namespace fs = std::filesystem;

class MainWindowSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) saved_config_ = old;
        setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
        settings().reset_defaults();
    }
    void TearDown() override {
        window.reset();
        test::settle();
        setenv("XDG_CONFIG_HOME", saved_config_.c_str(), 1);
        settings().reset_defaults();
    }

    void start() {
        window = std::make_unique<main_window>();
        window->show();
        test::settle();
    }
    // Closes the main window answering the exit question with `answer`;
    // returns the messages shown.
    std::vector<test::scripted_ui::message> close_with(msg_answer answer) {
        test::scripted_ui ui;
        ui.answer_next(answer);
        window->close();
        return ui.messages;
    }
    QMdiSubWindow* palette_frame() const {
        return qobject_cast<QMdiSubWindow*>(window->palette_panel->parentWidget());
    }
    QStringList recent_menu() const {
        emit window->findChild<QMenu*>("file_menu")->aboutToShow();
        QStringList names;
        for (QAction* a : window->findChild<QMenu*>("recent_files_menu")->actions())
            names << a->text();
        return names;
    }
    std::vector<std::string> file_lines() const {
        const std::vector<uint8_t> bytes = test::read_bytes(ini_file_path());
        std::vector<std::string> lines;
        std::string text(bytes.begin(), bytes.end()), line;
        for (size_t at = 0; at < text.size();) {
            const size_t end = text.find("\r\n", at);
            if (end == std::string::npos) break;
            lines.push_back(text.substr(at, end - at));
            at = end + 2;
        }
        return lines;
    }
    std::string value_of(const std::vector<std::string>& lines, const std::string& key) const {
        for (size_t i = 0; i + 1 < lines.size(); i += 2)
            if (lines[i] == key) return lines[i + 1];
        return "<missing>";
    }

    test::temp_dir config_;
    std::string saved_config_;
    std::unique_ptr<main_window> window;
};

TEST_F(MainWindowSettings, WithoutAFileItStartsMaximisedAndAConfirmedExitWritesAllPairs) {
    start();
    EXPECT_TRUE(window->isMaximized());
    EXPECT_FALSE(palette_frame()->isVisible());
    EXPECT_EQ(palette_frame()->pos(), QPoint(520, 40));
    EXPECT_TRUE(recent_menu().isEmpty());

    EXPECT_EQ(close_with(msg_answer::cancel).size(), 1u);
    EXPECT_FALSE(fs::exists(ini_file_path())) << "a cancelled exit writes nothing";

    EXPECT_EQ(close_with(msg_answer::ok).size(), 1u) << "only the exit question";
    EXPECT_FALSE(window->isVisible());
    const std::vector<std::string> lines = file_lines();
    ASSERT_EQ(lines.size(), 122u);
    EXPECT_EQ(lines[0], "Setting File Version");
    EXPECT_EQ(lines[117 - 1], "image_last_open_pos9");
    EXPECT_EQ(lines[119 - 1], "Option RefinePasses");
    EXPECT_EQ(lines[121 - 1], "Option DDSMipmaps");
    EXPECT_EQ(value_of(lines, "MainWindow State"), "2");
    EXPECT_EQ(value_of(lines, "Palette Disp"), "0");
    EXPECT_EQ(value_of(lines, "Palette Left"), "520");
    EXPECT_EQ(value_of(lines, "Palette Top"), "40");
    EXPECT_EQ(value_of(lines, "Option Left"), "64");
    EXPECT_EQ(value_of(lines, "Option Top"), "64");
    EXPECT_EQ(value_of(lines, "Listview Disp"), "0");
    EXPECT_EQ(value_of(lines, "AVI Player Disp"), "0");
    EXPECT_EQ(value_of(lines, "EnvOption NukiColor"), "ff00ff00");
    EXPECT_EQ(value_of(lines, "Option TargetColor"), "256");
    EXPECT_EQ(value_of(lines, "image_last_open_pos0"), "");
}

TEST_F(MainWindowSettings, OptionsPlacementsAndRecentFilesSurviveARestart) {
    start();
    settings().target_color = 17;
    settings().draw_type = 2;
    // Twelve files: the ring has wrapped, so its position is not 0 at exit.
    QStringList recent;
    for (int i = 0; i < 12; ++i) {
        const QString path = QString("/images/picture%1.png").arg(i);
        window->set_image_last_open(path);
        if (i >= 2) recent << path;
    }
    EXPECT_EQ(recent_menu(), recent);
    palette_frame()->show();
    palette_frame()->move(100, 50);
    close_with(msg_answer::ok);
    window.reset();

    settings().reset_defaults();
    start();
    EXPECT_EQ(settings().target_color, 17);
    EXPECT_TRUE(window->isMaximized());
    EXPECT_TRUE(palette_frame()->isVisible());
    EXPECT_EQ(palette_frame()->pos(), QPoint(100, 50));
    EXPECT_EQ(recent_menu(), recent) << "same order, oldest first";
    // The next file is listed last and takes the oldest one's place.
    window->set_image_last_open("/images/new.png");
    recent.removeFirst();
    recent << "/images/new.png";
    EXPECT_EQ(recent_menu(), recent);
}

TEST_F(MainWindowSettings, DamagedOrUnwritableFilesNeverStopTheProgram) {
    {
        // Garbage with two pairs whose values are out of range or no number.
        std::string text = "\xEF\xBB\xBFOption TargetColor\n99999\r\nOption DitherLevel\rabc\n";
        text.append("\x00\xFF\xFE binary \x01\x02", 14);
        text += "\nMainWindow Width\n";
        test::write_bytes(ini_file_path(), std::vector<uint8_t>(text.begin(), text.end()));
        start();
        EXPECT_EQ(settings().target_color, 256);
        EXPECT_EQ(settings().dither_level, 5);
        window.reset();
    }
    {
        // Extreme but readable placements: the options dialog comes back on
        // screen, and nothing stops the start.
        const std::string text =
            "MainWindow Left\n-32768\nMainWindow Width\n32767\nMainWindow Height\n1\n"
            "MainWindow State\n1\nPalette Left\n32767\nPalette Top\n-32768\n"
            "Option Left\n32767\nOption Top\n32767\n";
        test::write_bytes(ini_file_path(), std::vector<uint8_t>(text.begin(), text.end()));
        start();
        const QRect option = window->reduction_options->geometry();
        EXPECT_LT(option.left(), 32767);
        EXPECT_LT(option.top(), 32767);
        window.reset();
    }
    // A settings "file" that is a folder can be neither read nor replaced:
    // the start is as without a file, and the exit is reported once and
    // still goes ahead.
    fs::remove(ini_file_path());
    fs::create_directory(ini_file_path());
    test::scripted_ui quiet;
    start();
    EXPECT_TRUE(window->isMaximized());
    EXPECT_EQ(quiet.debug.size(), 1u);
    const auto messages = close_with(msg_answer::ok);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].caption, "エラー");
    EXPECT_EQ(messages[1].text.rfind(ini_file_path() + "\n", 0), 0u);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowSettings, SubWindowsPlacedOutsideTheAreaStayReachable) {
    const auto start_with = [this](const std::string& palette_left, const std::string& avi_top) {
        const std::string text =
            "MainWindow Left\n0\nMainWindow Top\n0\nMainWindow Width\n800\n"
            "MainWindow Height\n600\nMainWindow State\n0\nPalette Disp\n1\n"
            "Palette Left\n" +
            palette_left +
            "\nPalette Top\n30\nAVI Player Disp\n1\n"
            "AVI Player Left\n10\nAVI Player Top\n" +
            avi_top + "\n";
        test::write_bytes(ini_file_path(), std::vector<uint8_t>(text.begin(), text.end()));
        start();
    };
    // Partly beyond the right edge: it stays, and the area scrolls to it.
    start_with("700", "20");
    QMdiArea* area = window->mdi_area();
    EXPECT_EQ(palette_frame()->pos(), QPoint(700, 30));
    EXPECT_GT(area->horizontalScrollBar()->maximum(), 0);
    window.reset();
    // Wholly outside, right and above: both come back with their title bars inside.
    start_with("32767", "-32767");
    const QRect inside = window->mdi_area()->viewport()->rect();
    for (const QWidget* w :
         {static_cast<QWidget*>(palette_frame()), static_cast<QWidget*>(window->player)}) {
        const QRect title(w->geometry().topLeft(), QSize(w->width(), 20));
        EXPECT_TRUE(inside.contains(title.topLeft()) && inside.intersects(title))
            << w->objectName().toStdString() << " at " << w->x() << "," << w->y();
    }
}

TEST_F(MainWindowSettings, FilesNamedOnTheCommandLineOpenAsIfDropped) {
    test::temp_dir images;
    const std::string png = images.file("a.png"), bmp = images.file("b b.bmp");
    image_info picture = test::make_argb_by(
        4, 3, [](int x, int y) { return 0xFF000000u | static_cast<uint32_t>(x * 60 + y); });
    ASSERT_EQ(picture.save_to_file(IMGFMT_PNG, png), 0);
    ASSERT_EQ(picture.save_to_file(IMGFMT_BMP, bmp), 0);
    const QString missing = QString::fromStdString(images.file("gone.png"));
    const QStringList arguments{"mevra",
                                QString::fromStdString(png),
                                "--",
                                missing,
                                QUrl::fromLocalFile(QString::fromStdString(bmp)).toString(),
                                QString::fromStdString(images.path().string())};

    const gui::command_line_files sorted = gui::sort_command_line(arguments);
    EXPECT_EQ(sorted.existing,
              QStringList({QString::fromStdString(png), QString::fromStdString(bmp)}));
    EXPECT_EQ(sorted.missing.size(), 2);  // the missing file and the folder

    start();
    test::scripted_ui ui;
    EXPECT_EQ(gui::open_command_line(*window, arguments), 2);
    test::settle();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find(missing.toStdString()), std::string::npos);
    ASSERT_NE(window->active_image(), nullptr);
    EXPECT_EQ(window->active_image()->windowTitle(), QString::fromStdString(bmp));
    EXPECT_EQ(recent_menu(),
              QStringList({QString::fromStdString(png), QString::fromStdString(bmp)}));

    EXPECT_EQ(gui::open_command_line(*window, {"mevra"}), 0) << "no arguments, nothing opened";
    EXPECT_EQ(ui.messages.size(), 1u);
    for (QMdiSubWindow* w : window->mdi_area()->subWindowList())
        if (auto* child = qobject_cast<image_window*>(w)) child->discard();
}

TEST_F(MainWindowSettings, AnAviOnTheCommandLineOpensInThePlayer) {
    test::temp_dir files;
    const std::string png = files.file("a.png");
    ASSERT_EQ(test::make_argb_by(2, 2, [](int, int) { return 0xFF102030u; })
                  .save_to_file(IMGFMT_PNG, png),
              0);
    const std::string first = files.file("first.avi"), second = files.file("second.avi");
    test::write_test_avi(first);
    test::write_test_avi(second);
    start();
    window->player->hide();  // as the settings file may leave it
    test::scripted_ui ui;
    const QStringList arguments{"mevra", QString::fromStdString(first), QString::fromStdString(png),
                                QString::fromStdString(second)};
    EXPECT_EQ(gui::open_command_line(*window, arguments), 2);
    test::settle();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(window->player->isVisible());
    EXPECT_EQ(window->player->avi_filename(), QString::fromStdString(first));
    EXPECT_EQ(window->player->frame_length(), test::test_avi_frames);
    EXPECT_EQ(window->player->current_frame(), 0);
    ASSERT_NE(window->active_image(), nullptr) << "the image stays the active window";
    EXPECT_EQ(window->active_image()->windowTitle(), QString::fromStdString(png));
    EXPECT_EQ(recent_menu(), QStringList({QString::fromStdString(png)}));
    for (QMdiSubWindow* w : window->mdi_area()->subWindowList())
        if (auto* child = qobject_cast<image_window*>(w)) child->discard();
}

}  // namespace
}  // namespace mevra
