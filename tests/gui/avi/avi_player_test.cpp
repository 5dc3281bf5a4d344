// The AVI player driven through its real widget: opening by drop, the frame
// commands with the counter and status line, playback on the worker thread,
// the close and save commands with their refusals, and the bar layout.
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMimeData>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "app/main_window.h"
#include "avi/avi_compressor_dialog.h"
#include "avi/avi_control_bar.h"
#include "avi/avi_frame_panel.h"
#include "avi/avi_player.h"
#include "settings/clgbase.h"
#include "support/test_avi.h"
#include "support/test_support.h"
#include "video/avi_writer.h"
#include "video/frame_bitmap.h"
#include "views/image_window.h"
#include "views/palette_window.h"

namespace {

using mevra::test::recording_ui;
using mevra::test::temp_dir;

constexpr int frames = mevra::test::test_avi_frames;
constexpr int fw = mevra::test::test_avi_width;
constexpr int fh = mevra::test::test_avi_height;
using mevra::test::write_test_avi;

uint32_t frame_colour(int n) {
    return mevra::test::test_avi_colour(n);
}

uint32_t shown_colour(const avi_player& w) {
    const mevra::image_info* image = w.frame_image();
    return image && !image->argb_buff.empty() ? image->argb_buff[0] : 0;
}

void drop(avi_player& w, const QStringList& paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << QUrl::fromLocalFile(p);
    mime.setUrls(urls);
    // A drop goes to the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.frame_panel, &enter);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.frame_panel, &event);
}

struct player : ::testing::Test {
    temp_dir dir;
    QString movie = QString::fromStdString(dir.file("movie.avi"));
    QMdiArea area;
    avi_player& window = *new avi_player;

    void SetUp() override {
        write_test_avi(movie.toStdString());
        area.resize(900, 700);
        area.addSubWindow(&window);
        area.show();
        window.show();
    }
    void TearDown() override { window.set_frame(avi_player::CMD_STOP); }
    QString counter() const { return window.frame_counter_label->text(); }
};

TEST_F(player, DropOpensOnlyTheFirstFileAndShowsFrameZero) {
    EXPECT_EQ(window.windowTitle(), "avi player");
    EXPECT_EQ(counter(), "0000 / 0000");
    const QString other = QString::fromStdString(dir.file("other.avi"));
    write_test_avi(other.toStdString());
    drop(window, {movie, other, other});
    EXPECT_EQ(window.avi_filename(), movie);
    EXPECT_EQ(window.windowTitle(), movie);
    EXPECT_EQ(window.frame_length(), frames);
    EXPECT_EQ(counter(), "0000/0006");
    EXPECT_EQ(window.status_label->text(), "width:    8  height:    6  24bit  fps: 10");
    EXPECT_EQ(window.frame_slider->maximum(), frames - 1);
    EXPECT_EQ(shown_colour(window), frame_colour(0));
}

TEST_F(player, FrameCommandsMoveWithinTheStream) {
    drop(window, {movie});
    struct step {
        QToolButton* button;
        int frame;
    };
    const step steps[] = {{window.forward_button, 1}, {window.forward_button, 2},
                          {window.end_button, 5},     {window.forward_button, 5},
                          {window.back_button, 4},    {window.first_button, 0},
                          {window.back_button, 0}};
    for (const step& s : steps) {
        s.button->click();
        EXPECT_EQ(window.current_frame(), s.frame) << s.button->toolTip().toStdString();
        EXPECT_EQ(window.frame_slider->value(), s.frame);
        EXPECT_EQ(counter(), QString::asprintf("%04d/0006", s.frame));
        EXPECT_EQ(shown_colour(window), frame_colour(s.frame));
    }
    window.frame_slider->setValue(3);
    EXPECT_EQ(window.current_frame(), 3);
    EXPECT_EQ(counter(), "0003/0006");
    // The slider's frame comes from the worker.
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown_colour(window) == frame_colour(3); }));
}

// Holds the player's decoding up at will and records which frames were
// decoded, and whether any was decoded on the user-interface thread.
struct decode_gate {
    std::mutex m;
    std::condition_variable cv;
    bool held = true;
    std::vector<int> decoded;
    bool on_gui_thread = false;
    const std::thread::id gui = std::this_thread::get_id();

    void attach(avi_player& w) {
        w.frame_decode_starting = [this](int frame) {
            std::unique_lock lock(m);
            decoded.push_back(frame);
            cv.notify_all();
            if (std::this_thread::get_id() == gui)
                on_gui_thread = true;
            else
                cv.wait_for(lock, std::chrono::seconds(5), [this] { return !held; });
        };
    }
    bool wait_for_decodes(size_t n) {
        std::unique_lock lock(m);
        return cv.wait_for(lock, std::chrono::seconds(5), [&] { return decoded.size() >= n; });
    }
    void release() {
        {
            const std::lock_guard lock(m);
            held = false;
        }
        cv.notify_all();
    }
};

TEST_F(player, DraggingTheSliderDecodesOnTheWorkerAndTheNewestFrameWins) {
    drop(window, {movie});
    decode_gate gate;
    gate.attach(window);
    window.frame_slider->setSliderDown(true);
    window.frame_slider->setValue(1);
    ASSERT_TRUE(gate.wait_for_decodes(1));
    // While frame 1 is being decoded the drag goes on, and the counter
    // follows at once.
    for (int f : {2, 3, 4}) {
        window.frame_slider->setValue(f);
        EXPECT_EQ(counter(), QString::asprintf("%04d/0006", f));
    }
    gate.release();
    window.frame_slider->setSliderDown(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown_colour(window) == frame_colour(4); }));
    QTest::qWait(20);
    {
        const std::lock_guard lock(gate.m);
        EXPECT_EQ(gate.decoded, (std::vector<int>{1, 4}));  // 2 and 3 were dropped
        EXPECT_FALSE(gate.on_gui_thread);
    }
    EXPECT_EQ(window.frame_slider->value(), 4);
    EXPECT_EQ(counter(), "0004/0006");
    EXPECT_EQ(shown_colour(window), frame_colour(4));

    // A button pressed while the worker still decodes the slider's frame
    // wins over that frame.
    {
        const std::lock_guard lock(gate.m);
        gate.held = true;
        gate.decoded.clear();
    }
    window.frame_slider->setValue(2);
    ASSERT_TRUE(gate.wait_for_decodes(1));
    std::thread later([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        gate.release();
    });
    window.end_button->click();
    later.join();
    QTest::qWait(20);
    EXPECT_EQ(window.frame_slider->value(), 5);
    EXPECT_EQ(counter(), "0005/0006");
    EXPECT_EQ(shown_colour(window), frame_colour(5));
    window.frame_decode_starting = nullptr;
}

// Assistive technology names every control of the player and of its
// compressor dialog; the picture buttons by their tips.
TEST_F(player, EveryControlHasAnAccessibleName) {
    const auto name = [](QWidget* w) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        return a ? a->text(QAccessible::Name) : QString();
    };
    const QToolButton* buttons[] = {window.first_button,   window.back_button, window.play_button,
                                    window.forward_button, window.end_button,  window.stop_button,
                                    window.pause_button};
    const char* names[] = {"move first frame", "back 1 frame", "Play", "forward 1 frame",
                           "move end frame",   "Stop",         "Pause"};
    for (size_t i = 0; i < std::size(buttons); ++i)
        EXPECT_EQ(name(const_cast<QToolButton*>(buttons[i])), names[i]);
    EXPECT_EQ(name(window.frame_panel), "view panel");
    EXPECT_EQ(name(window.frame_slider), "표시フレーム");

    avi_compressor_dialog dialog(nullptr, {}, 10, 1);
    int checked = 0;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        const bool inner = qobject_cast<QAbstractSpinBox*>(w->parentWidget()) ||
                           qobject_cast<QComboBox*>(w->parentWidget());
        if (inner || !(qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QAbstractSlider*>(w) ||
                       qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)))
            continue;
        ++checked;
        EXPECT_FALSE(name(w).isEmpty()) << w->objectName().toStdString();
    }
    EXPECT_EQ(checked, 4);  // encoder list, two number boxes, quality slider
}

TEST_F(player, OpenFailuresGiveTheirMessages) {
    recording_ui ui;
    drop(window, {movie});
    const QString missing = QString::fromStdString(dir.file("nothing.avi"));
    drop(window, {missing});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "파일  を開くことができませんでした\n" + missing.toStdString());
    EXPECT_EQ(ui.messages[0].caption, "AVI file");
    EXPECT_EQ(window.avi_filename(), movie);  // the open file stays
    EXPECT_EQ(window.frame_length(), frames);

    const std::string junk = dir.file("junk.avi");
    mevra::test::write_bytes(junk, std::vector<uint8_t>(300, 0x5A));
    drop(window, {QString::fromStdString(junk)});
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "error:\n" + junk);
    EXPECT_EQ(ui.messages[1].caption, "AVIFileOpen");
    EXPECT_EQ(window.frame_length(), 0);
    EXPECT_EQ(window.frame_image(), nullptr);
    EXPECT_EQ(window.set_frame(avi_player::CMD_END), 0);  // nothing to step
}

TEST_F(player, PlaysOnTheWorkerAndStopRewinds) {
    recording_ui ui;
    drop(window, {movie});
    window.play_button->click();
    EXPECT_EQ(window.play_mode(), 1);
    QTest::qWait(450);
    EXPECT_NE(window.current_frame(), 0);  // 10 fps: about four frames on

    // Close and save are refused while playing.
    window.close_command();
    window.save_command();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "再生中は閉じることが出来ません");
    EXPECT_EQ(ui.messages[0].caption, "閉じる");
    EXPECT_EQ(ui.messages[1].caption, "AVI保存");
    EXPECT_EQ(window.avi_filename(), movie);

    window.pause_button->click();  // pause: the frame shown is the frame counted
    EXPECT_EQ(window.play_mode(), 0);
    const int paused = window.current_frame();
    EXPECT_EQ(shown_colour(window), frame_colour(paused));
    EXPECT_EQ(counter(), QString::asprintf("%04d/0006", paused));

    window.play_button->click();
    QTest::qWait(250);
    window.stop_button->click();  // stop
    EXPECT_EQ(window.play_mode(), 0);
    EXPECT_EQ(window.current_frame(), 0);
    EXPECT_EQ(counter(), "0000/0006");
    EXPECT_EQ(shown_colour(window), frame_colour(0));
    QTest::qWait(30);  // late reports of the worker change nothing
    EXPECT_EQ(window.current_frame(), 0);

    window.play_button->click();
    window.hide();  // hiding stops
    EXPECT_EQ(window.play_mode(), 0);
    EXPECT_EQ(window.current_frame(), 0);
    EXPECT_TRUE(ui.messages.size() == 2u);
}

TEST_F(player, CloseForgetsTheFrame) {
    recording_ui ui;
    drop(window, {movie});
    // Through the view's context menu, as the user reaches both commands.
    window.frame_panel->findChild<QAction*>("aviCloseMenuItem")->trigger();
    EXPECT_TRUE(window.avi_filename().isEmpty());
    EXPECT_EQ(window.frame_image(), nullptr);
    window.frame_panel->findChild<QAction*>("aviSaveMenuItem")->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "保存するAVIが読み込まれていません");
    EXPECT_EQ(ui.messages[0].caption, "AVI保存");
}

TEST_F(player, SaveDialogsCancelOrWriteOneStream) {
    recording_ui ui;
    drop(window, {movie});
    const std::string out = dir.file("saved.avi");
    QString asked_folder, asked_name;
    bool cancel_path = true, cancel_codec = true;
    int compressor_asked = 0;
    window.ask_save_path = [&](const QString& folder, const QString& name) {
        asked_folder = folder;
        asked_name = name;
        return cancel_path ? QString() : QString::fromStdString(out);
    };
    window.ask_compressor = [&](const std::vector<uint8_t>& frame, uint32_t rate, uint32_t scale,
                                mevra::avi_encode_options& opt) {
        ++compressor_asked;
        EXPECT_FALSE(frame.empty());
        EXPECT_EQ(rate / scale, 10u);
        opt.encoder = "mjpeg";
        opt.quality = 90;
        return !cancel_codec;
    };
    window.save_command();
    EXPECT_EQ(asked_folder, QString::fromStdString(dir.path().string()));
    EXPECT_EQ(asked_name, "movie");
    EXPECT_EQ(compressor_asked, 0);
    cancel_path = false;
    window.save_command();
    EXPECT_EQ(compressor_asked, 1);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    cancel_codec = false;
    window.save_command();
    EXPECT_TRUE(ui.messages.empty());
    mevra::avi_reader saved;
    mevra::avi_failure failure;
    ASSERT_EQ(saved.open(out, failure), 0) << failure.text;
    EXPECT_EQ(saved.info().length, frames);
    EXPECT_EQ(saved.info().stream_count, 1);
    EXPECT_EQ(saved.info().codec, "mjpeg");
    // The player still steps through its own file after the save.
    window.end_button->click();
    EXPECT_EQ(shown_colour(window), frame_colour(frames - 1));
}

TEST_F(player, ViewIsGreyBeyondTheFrameAndBarFollowsWidth) {
    drop(window, {movie});
    mevra::clgbase& clg = mevra::settings();
    const int zoom = clg.zoom_level, draw = clg.draw_type, grid = clg.grid_mode;
    clg.zoom_level = 4;  // factor 1
    clg.draw_type = 1;   // colours only
    clg.grid_mode = 0;
    window.repaint_image();
    const QImage shot = window.frame_panel->grab().toImage();
    EXPECT_EQ(shot.pixel(0, 0), frame_colour(0));
    EXPECT_EQ(shot.pixel(fw - 1, fh - 1), frame_colour(0));
    EXPECT_EQ(shot.pixel(fw, 0), 0xFFD3D3D3u);
    EXPECT_EQ(shot.pixel(0, fh), 0xFFD3D3D3u);
    clg.zoom_level = zoom;
    clg.draw_type = draw;
    clg.grid_mode = grid;

    EXPECT_EQ(window.widget()->size(), QSize(515, 257));
    EXPECT_EQ(window.frame_panel->geometry(), QRect(3, 3, 509, 215));
    window.resize(window.width() + 100, window.height() + 20);
    const int w = window.bar->width();
    EXPECT_EQ(window.forward_button->x(), w - 64);
    EXPECT_EQ(window.end_button->x(), w - 32);
    EXPECT_EQ(window.frame_counter_label->x(), w - 132);
    EXPECT_EQ(window.frame_slider->width(), w - 212);
    EXPECT_EQ(window.frame_panel->height(), window.widget()->height() - 42);
}

TEST(player_activation, ActivatingThePlayerClearsTheActiveImageWindow) {
    QMdiArea area;
    auto* player = new avi_player;
    auto* child = new image_window;
    area.addSubWindow(player);
    area.addSubWindow(child);
    area.show();
    player->show();
    child->show();
    area.setActiveSubWindow(child);
    EXPECT_EQ(image_window::lastActive, child);
    area.setActiveSubWindow(player);
    EXPECT_EQ(image_window::lastActive, nullptr);
    EXPECT_EQ(avi_player::g_instance, player);
}

}  // namespace

TEST(compressor_dialog, OffersTheEncodersAndPreviewsOneFrame) {
    std::vector<uint8_t> frame = mevra::make_dib(fw, fh, 24, {});
    avi_compressor_dialog dialog(nullptr, frame, 10, 1);
    const auto encoders = mevra::available_avi_encoders();
    ASSERT_EQ(dialog.encoder_list->count(), static_cast<int>(encoders.size()));
    for (size_t i = 0; i < encoders.size(); ++i) {
        dialog.encoder_list->setCurrentIndex(static_cast<int>(i));
        dialog.keyint_check->setChecked(true);
        dialog.keyint_box->setValue(12);
        dialog.bitrate_check->setChecked(true);
        dialog.bitrate_box->setValue(900);
        const mevra::avi_encode_options opt = dialog.options();
        EXPECT_EQ(opt.encoder, encoders[i].name);
        EXPECT_EQ(opt.keyint, encoders[i].has_keyint ? 12 : 0) << opt.encoder;
        EXPECT_EQ(opt.bitrate_kbps, encoders[i].has_bitrate ? 900 : 0) << opt.encoder;
        EXPECT_EQ(opt.raw_bits, 24);
    }
    dialog.encoder_list->setCurrentIndex(dialog.encoder_list->findData("rawvideo"));
    dialog.update_preview();
    EXPECT_FALSE(dialog.preview_picture->pixmap().isNull());
    // Uncompressed: the frame's 8 × 6 × 3 bytes.
    EXPECT_EQ(dialog.preview_info->text().section(' ', 0, 0).toInt(), fw * fh * 3)
        << dialog.preview_info->text().toStdString();
}

TEST(player_in_main_window, ViewMenuTogglesThePlayerAndThePaletteAsksIt) {
    main_window main;
    ASSERT_NE(main.player, nullptr);
    EXPECT_EQ(avi_player::g_instance, main.player);
    EXPECT_EQ(main.player->mdiArea(), main.mdi_area());
    EXPECT_FALSE(main.player->windowFlags() & Qt::WindowCloseButtonHint);
    main.show();
    const bool shown = main.player->isVisible();
    main.findChild<QAction*>("avi_player_action")->trigger();
    EXPECT_NE(main.player->isVisible(), shown);
    main.findChild<QAction*>("avi_player_action")->trigger();
    EXPECT_EQ(main.player->isVisible(), shown);
    ASSERT_TRUE(main.palette_panel->avi_playing && main.palette_panel->repaint_avi);
    EXPECT_FALSE(main.palette_panel->avi_playing());
}
