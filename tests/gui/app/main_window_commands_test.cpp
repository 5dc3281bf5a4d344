// Menu commands acting on a real image window.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <filesystem>

#include "app/main_window_test_fixture.h"
#include "app/qt_ports.h"
#include "platform/clipboard_port.h"
#include "views/image_canvas.h"
#include "views/palette_window.h"

namespace {

// Confirms the next modal dialog with its OK button ("ok_button").
void press_ok_on_next_dialog(std::function<void(QWidget*)> fill = {}) {
    mevra::test::on_next_modal([fill](QWidget* dialog) {
        if (fill) fill(dialog);
        auto* ok = dialog->findChild<QPushButton*>("ok_button");
        ASSERT_NE(ok, nullptr);
        ok->click();
    });
}

// Fills the size tab of the trim/resize dialog with a size in pixels.
void fill_size(QWidget* dialog, int w, int h) {
    dialog->findChild<QComboBox*>("unit_combo")->setCurrentIndex(0);
    dialog->findChild<QCheckBox*>("keep_aspect_check")->setChecked(false);
    dialog->findChild<QLineEdit*>("width_edit")->setText(QString::number(w));
    dialog->findChild<QLineEdit*>("height_edit")->setText(QString::number(h));
}

uint32_t pixel(const image_window* child, int x, int y) {
    return child->image->get_pos_color(int64_t{y} * child->image->width + x);
}

TEST_F(MainWindowTest, OpeningRecordsRecentFilesAndCopiesTheViewSettings) {
    mevra::settings().zoom_level = 7;
    mevra::settings().draw_type = 2;
    const std::string a = write_argb("a.png", 5, 4);
    const std::string b = write_argb("b.bmp", 3, 2, mevra::IMGFMT_BMP);
    window->image_files_open({QString::fromStdString(a), QString::fromStdString(dir.file("none")),
                              QString::fromStdString(dir.path().string()),
                              QString::fromStdString(b)});
    mevra::test::settle();
    ASSERT_EQ(image_window_count(), 2);
    image_window* child = image_window::lastActive;
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->windowTitle().toStdString(), b);
    EXPECT_EQ(child->image->zoom_scale_level, 7);
    EXPECT_EQ(child->image->draw_type, 2);
    EXPECT_EQ(child->undo_list.size(), 1u);
    EXPECT_EQ(child->edit_change, 0);
    EXPECT_EQ(mevra::settings().recent_files(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(mevra::settings().image_last_open_file, b);

    // The recent-files submenu lists the ring oldest first; a vanished file
    // answers with a message and stays listed.
    std::filesystem::remove(a);
    QMenu* file = window->findChild<QMenu*>("file_menu");
    emit file->aboutToShow();
    QMenu* recent = window->findChild<QMenu*>("recent_files_menu");
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_EQ(recent->actions()[0]->objectName(), "image_last_open_log8");
    EXPECT_EQ(recent->actions()[1]->text().toStdString(), b);
    mevra::test::scripted_ui ui;
    recent->actions()[0]->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "ファイルが見つかりませんでした\n" + a);
    EXPECT_EQ(ui.messages[0].caption, "최근 작업 파일 ");
    recent->actions()[1]->trigger();
    mevra::test::settle();
    EXPECT_EQ(image_window_count(), 3);
    EXPECT_EQ(mevra::settings().recent_files().size(), 2u);
}

TEST_F(MainWindowTest, OpenCommandUsesTheDialogsChoice) {
    const std::string a = write_argb("a.png", 5, 4);
    const std::string b = write_argb("b.png", 2, 2);
    mevra::test::on_next_modal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "이미지 열기 ");
        EXPECT_EQ(dialog->nameFilters().size(), 8);
        EXPECT_TRUE(dialog->nameFilters().contains("DDSファイル(dds) (*.dds)"));
        dialog->setDirectory(QString::fromStdString(dir.path().string()));
        mevra::test::type_file_name(dialog, "\"a.png\" \"b.png\"");
        static_cast<QDialog*>(dialog)->accept();
    });
    find_action(window.get(), "open_image_action")->trigger();
    mevra::test::settle();
    EXPECT_EQ(image_window_count(), 2);
}

TEST_F(MainWindowTest, DroppedFilesOpen) {
    const std::string a = write_argb("a.png", 5, 4);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(a)),
                  QUrl::fromLocalFile(QString::fromStdString(dir.file("missing.png")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &drop);
    mevra::test::settle();
    EXPECT_EQ(image_window_count(), 1);
    ASSERT_NE(image_window::lastActive, nullptr);
    EXPECT_EQ(image_window::lastActive->windowTitle().toStdString(), a);
}

TEST_F(MainWindowTest, TransformsRecordUndoStatesAndUndoRedoRestore) {
    image_window* child = open_image(write_argb("a.png", 5, 3));
    ASSERT_NE(child, nullptr);
    const uint32_t corner = pixel(child, 4, 0);
    find_action(window.get(), "rotate_right_action")->trigger();  // right 90°
    EXPECT_EQ(child->image->width, 3);
    EXPECT_EQ(child->image->height, 5);
    EXPECT_EQ(pixel(child, 2, 4), corner);
    EXPECT_EQ(child->undo_list.size(), 2u);
    EXPECT_EQ(child->edit_change, 1);

    find_action(window.get(), "invert_action")->trigger();  // invert
    EXPECT_EQ(pixel(child, 2, 4), corner ^ 0x00FFFFFFu);

    find_action(window.get(), "undo_action")->trigger();  // undo
    find_action(window.get(), "undo_action")->trigger();
    EXPECT_EQ(child->image->width, 5);
    EXPECT_EQ(pixel(child, 4, 0), corner);
    find_action(window.get(), "redo_action")->trigger();  // redo
    EXPECT_EQ(child->image->width, 3);
}

TEST_F(MainWindowTest, ReduceShowsTheTimeAndConvertsToIndexed) {
    image_window* child = open_image(write_argb("a.png", 16, 16));
    mevra::settings().target_color = 4;
    mevra::test::scripted_ui ui;
    // Cancelling the options dialog changes nothing.
    mevra::test::on_next_modal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    find_action(window.get(), "reduce_colours_action")->trigger();
    EXPECT_EQ(child->image->image_type, mevra::IMGTYP_RGB);
    EXPECT_EQ(child->undo_list.size(), 1u);
    press_ok_on_next_dialog();
    find_action(window.get(), "reduce_colours_action")->trigger();
    EXPECT_NE(child->image->image_type, mevra::IMGTYP_RGB);
    EXPECT_LE(child->image->color_num, 4);
    EXPECT_EQ(ui.exclamations, 1);
    EXPECT_TRUE(ui.messages.empty());
    bool is_number = false;
    window->status_label->text().toDouble(&is_number);
    EXPECT_TRUE(is_number);
    EXPECT_EQ(child->undo_list.size(), 2u);

    find_action(window.get(), "to_argb_action")->trigger();  // back to ARGB
    EXPECT_EQ(child->image->image_type, mevra::IMGTYP_RGB);

    child->image->flag = 0;
    find_action(window.get(), "reduce_colours_action")->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "開いたファイルに問題があり変換できません");
}

TEST_F(MainWindowTest, MessagesOfAReductionOnTheWorkerReachTheMessagePort) {
    mevra::image_info src =
        mevra::test::make_argb(2, 2, {0x00FF0000u, 0x0000FF00u, 0xFF0000FFu, 0xFFFFFFFFu});
    const std::string path = dir.file("keys.png");
    ASSERT_EQ(src.save_to_file(mevra::IMGFMT_PNG, path), 0);
    image_window* child = open_image(path);
    mevra::clgbase& clg = mevra::settings();
    clg.transparency_mode = 1;
    clg.nuki_flg_alpha0 = 1;
    clg.target_color = 2;
    mevra::test::scripted_ui ui;
    press_ok_on_next_dialog();
    find_action(window.get(), "reduce_colours_action")->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "抜き色が減色する色数以上なので減色できません。");
    EXPECT_EQ(child->image->image_type, mevra::IMGTYP_RGB);
    EXPECT_EQ(ui.exclamations, 1);
}

TEST_F(MainWindowTest, ResizeTakesTheSizeFromTheDialog) {
    image_window* child = open_image(write_argb("a.png", 8, 6));
    press_ok_on_next_dialog([](QWidget* dialog) { fill_size(dialog, 4, 3); });
    find_action(window.get(), "change_size_action")->trigger();
    EXPECT_EQ(child->image->width, 4);
    EXPECT_EQ(child->image->height, 3);
    press_ok_on_next_dialog([](QWidget* dialog) { fill_size(dialog, 16, 12); });
    find_action(window.get(), "scale_action")->trigger();
    EXPECT_EQ(child->image->width, 16);
    EXPECT_EQ(child->undo_list.size(), 3u);
    mevra::test::on_next_modal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    find_action(window.get(), "scale_action")->trigger();
    EXPECT_EQ(child->undo_list.size(), 3u);
}

TEST_F(MainWindowTest, OptionDialogsAndAboutOpenModally) {
    for (const char* name :
         {"reduction_options_action", "environment_options_action", "about_action"}) {
        bool opened = false;
        mevra::test::on_next_modal([&](QWidget* dialog) {
            opened = true;
            static_cast<QDialog*>(dialog)->reject();
        });
        find_action(window.get(), name)->trigger();
        EXPECT_TRUE(opened) << name;
    }
    // Confirmed environment options repaint the active image.
    open_image(write_argb("a.png", 4, 4));
    press_ok_on_next_dialog();
    find_action(window.get(), "environment_options_action")->trigger();
}

// Counts the paint events of the widgets it watches.
struct paint_counter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

TEST_F(MainWindowTest, ReductionOptionsRepaintTheActiveImageAfterOkOnly) {
    image_window* child = open_image(write_argb("a.png", 4, 4));
    paint_counter counter;
    child->canvas()->installEventFilter(&counter);
    mevra::test::settle();
    counter.paints = 0;
    mevra::test::on_next_modal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    find_action(window.get(), "reduction_options_action")->trigger();
    mevra::test::settle();
    EXPECT_EQ(counter.paints, 0);
    press_ok_on_next_dialog();
    find_action(window.get(), "reduction_options_action")->trigger();
    mevra::test::settle();
    EXPECT_GT(counter.paints, 0);
}

TEST_F(MainWindowTest, CopyAndOpenFromClipboardKeepAlpha) {
    install_qt_ports();
    mevra::image_info src = mevra::test::make_argb(2, 1, {0x80112233u, 0xFF445566u});
    const std::string path = dir.file("a.png");
    ASSERT_EQ(src.save_to_file(mevra::IMGFMT_PNG, path), 0);
    open_image(path);
    find_action(window.get(), "copy_action")->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(2, 1));
    EXPECT_EQ(copied.convertToFormat(QImage::Format_ARGB32).pixel(0, 0), 0x80112233u);

    find_action(window.get(), "open_clipboard_action")->trigger();
    mevra::test::settle();
    image_window* pasted = image_window::lastActive;
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->windowTitle(), "");
    EXPECT_EQ(pasted->image->get_pos_color(0), 0x80112233u);
    EXPECT_EQ(pasted->image->format, mevra::IMGFMT_CLIPBOARD);
    mevra::set_ui_port(nullptr);
    mevra::set_clipboard_port(nullptr);
}

TEST_F(MainWindowTest, ClipboardTakesIndexedBitmaps) {
    qt_clipboard_port port;
    mevra::platform_bitmap bitmap;
    bitmap.width = 2;
    bitmap.height = 1;
    bitmap.index_bits = 4;
    bitmap.palette.assign(16, 0xFF000000u);
    bitmap.palette[3] = 0x40FF0000u;
    bitmap.indices = {3, 0};
    std::string error;
    ASSERT_TRUE(port.set_image(bitmap, error));
    mevra::decoded_picture back;
    ASSERT_TRUE(port.get_image(back));
    if (back.indexed()) {
        EXPECT_EQ(back.palette[back.indices[0]], 0x40FF0000u);
    } else {
        EXPECT_EQ(back.argb[0], 0x40FF0000u);
    }
    bitmap.indices = {3};  // too few indices
    EXPECT_FALSE(port.set_image(bitmap, error));
}

TEST_F(MainWindowTest, ReloadCloseGridZoomAndWindowsMenu) {
    const std::string path = write_argb("a.png", 6, 4);
    image_window* child = open_image(path);
    find_action(window.get(), "flip_vertical_action")->trigger();  // flip
    find_action(window.get(), "reload_image_action")->trigger();   // reload
    EXPECT_EQ(pixel(child, 0, 0), 0xFF000020u);
    EXPECT_EQ(child->undo_list.size(), 3u);

    find_action(window.get(), "grid_action")->trigger();
    EXPECT_EQ(child->image->grid_mode, 1);
    find_action(window.get(), "zoom_out_action")->trigger();
    EXPECT_EQ(child->image->zoom_scale_level, 3);

    // Without a settings file the palette window starts hidden.
    EXPECT_FALSE(window->palette_panel->isVisible());
    find_action(window.get(), "palette_window_action")->trigger();
    QMenu* view = window->findChild<QMenu*>("view_menu");
    emit view->aboutToShow();
    QMenu* windows = window->findChild<QMenu*>("windows_menu");
    QStringList names;
    for (QAction* a : windows->actions())
        names << a->text();
    EXPECT_EQ(names, QStringList({"팔레트 윈도우  ", "avi player", QString::fromStdString(path)}));
    EXPECT_TRUE(find_action(window.get(), "grid_action")->isChecked());
    EXPECT_TRUE(find_action(window.get(), "palette_window_action")->isChecked());
    find_action(window.get(), "palette_window_action")->trigger();
    EXPECT_FALSE(window->palette_panel->isVisible());

    mevra::test::scripted_ui ui(mevra::msg_answer::no);
    find_action(window.get(), "close_image_action")->trigger();  // close, do not save
    mevra::test::settle();
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(image_window::lastActive, nullptr);
    QMenu* convert = window->findChild<QMenu*>("convert_menu");
    emit convert->aboutToShow();
    EXPECT_FALSE(find_action(window.get(), "reduce_colours_action")->isEnabled());
}

TEST_F(MainWindowTest, ClosingTheActiveImageWindowActivatesTheNextImageWindow) {
    mevra::settings().draw_type = 3;
    image_window* first = open_image(write_argb("a.png", 5, 4));
    mevra::settings().draw_type = 0;
    image_window* second = open_image(write_argb("b.png", 3, 2));
    ASSERT_EQ(image_window::lastActive, second);
    // The palette window was active last; it is never chosen.
    QWidget* palette_frame = window->palette_panel->parentWidget();
    palette_frame->show();
    window->mdi_area()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(palette_frame));
    mevra::test::scripted_ui ui(mevra::msg_answer::no);
    find_action(window.get(), "close_image_action")->trigger();
    mevra::test::settle();
    ASSERT_EQ(image_window::lastActive, first);
    EXPECT_EQ(window->palette_panel->findChild<QLabel*>("size_label")->text(), "Size W: 5 H:4");
    EXPECT_TRUE(window->palette_panel->findChild<QToolButton*>("draw_add_button")->isChecked());
    find_action(window.get(), "close_image_action")->trigger();  // a second Ctrl+W works
    mevra::test::settle();
    EXPECT_EQ(image_window_count(), 0);
    EXPECT_EQ(image_window::lastActive, nullptr);
}

TEST_F(MainWindowTest, ReloadOfAVanishedFileClosesTheWindow) {
    const std::string path = write_argb("a.png", 6, 4);
    open_image(path);
    std::filesystem::remove(path);
    mevra::test::scripted_ui ui;
    find_action(window.get(), "reload_image_action")->trigger();
    mevra::test::settle();
    EXPECT_EQ(ui.messages.size(), 1u);  // the loader's message
    EXPECT_EQ(image_window::lastActive, nullptr);
    EXPECT_EQ(image_window_count(), 0);
}

}  // namespace
