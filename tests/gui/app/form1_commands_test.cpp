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

#include "app/form1_test_fixture.h"
#include "app/qt_ports.h"
#include "platform/clipboard_port.h"
#include "views/formpalette.h"
#include "views/image_canvas.h"

namespace {

// Confirms the next modal dialog with its OK button ("button1").
void press_ok_on_next_dialog(std::function<void(QWidget*)> fill = {}) {
    mevra::test::on_next_modal([fill](QWidget* dialog) {
        if (fill) fill(dialog);
        auto* ok = dialog->findChild<QPushButton*>("button1");
        ASSERT_NE(ok, nullptr);
        ok->click();
    });
}

// Fills the size tab of the trim/resize dialog with a size in pixels.
void fill_size(QWidget* dialog, int w, int h) {
    dialog->findChild<QComboBox*>("comboBox3")->setCurrentIndex(0);
    dialog->findChild<QCheckBox*>("checkBox2")->setChecked(false);
    dialog->findChild<QLineEdit*>("textBox1")->setText(QString::number(w));
    dialog->findChild<QLineEdit*>("textBox2")->setText(QString::number(h));
}

uint32_t pixel(const mdichild* child, int x, int y) {
    return child->image->get_pos_color(int64_t{y} * child->image->width + x);
}

TEST_F(Form1Test, OpeningRecordsRecentFilesAndCopiesTheViewSettings) {
    mevra::settings().zoom_level = 7;
    mevra::settings().draw_type = 2;
    const std::string a = write_argb("a.png", 5, 4);
    const std::string b = write_argb("b.bmp", 3, 2, mevra::IMGFMT_BMP);
    window->image_files_open({QString::fromStdString(a), QString::fromStdString(dir.file("none")),
                              QString::fromStdString(dir.path().string()),
                              QString::fromStdString(b)});
    mevra::test::settle();
    ASSERT_EQ(image_window_count(), 2);
    mdichild* child = mdichild::lastActive;
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
    QMenu* file = window->findChild<QMenu*>("toolStripMenuItem_00");
    emit file->aboutToShow();
    QMenu* recent = window->findChild<QMenu*>("toolStripMenuItem012");
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

TEST_F(Form1Test, OpenCommandUsesTheDialogsChoice) {
    const std::string a = write_argb("a.png", 5, 4);
    const std::string b = write_argb("b.png", 2, 2);
    mevra::test::on_next_modal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "이미지 열기 ");
        EXPECT_EQ(dialog->nameFilters().size(), 7);
        dialog->setDirectory(QString::fromStdString(dir.path().string()));
        mevra::test::type_file_name(dialog, "\"a.png\" \"b.png\"");
        static_cast<QDialog*>(dialog)->accept();
    });
    find_action(window.get(), "toolStripMenuItem000")->trigger();
    mevra::test::settle();
    EXPECT_EQ(image_window_count(), 2);
}

TEST_F(Form1Test, DroppedFilesOpen) {
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
    ASSERT_NE(mdichild::lastActive, nullptr);
    EXPECT_EQ(mdichild::lastActive->windowTitle().toStdString(), a);
}

TEST_F(Form1Test, TransformsRecordUndoStatesAndUndoRedoRestore) {
    mdichild* child = open_image(write_argb("a.png", 5, 3));
    ASSERT_NE(child, nullptr);
    const uint32_t corner = pixel(child, 4, 0);
    find_action(window.get(), "toolStripMenuItem301")->trigger();  // right 90°
    EXPECT_EQ(child->image->width, 3);
    EXPECT_EQ(child->image->height, 5);
    EXPECT_EQ(pixel(child, 2, 4), corner);
    EXPECT_EQ(child->undo_list.size(), 2u);
    EXPECT_EQ(child->edit_change, 1);

    find_action(window.get(), "toolStripMenuItem314")->trigger();  // invert
    EXPECT_EQ(pixel(child, 2, 4), corner ^ 0x00FFFFFFu);

    find_action(window.get(), "toolStripMenuItem100")->trigger();  // undo
    find_action(window.get(), "toolStripMenuItem100")->trigger();
    EXPECT_EQ(child->image->width, 5);
    EXPECT_EQ(pixel(child, 4, 0), corner);
    find_action(window.get(), "toolStripMenuItem101")->trigger();  // redo
    EXPECT_EQ(child->image->width, 3);
}

TEST_F(Form1Test, ReduceShowsTheTimeAndConvertsToIndexed) {
    mdichild* child = open_image(write_argb("a.png", 16, 16));
    mevra::settings().target_color = 4;
    mevra::test::scripted_ui ui;
    // Cancelling the options dialog changes nothing.
    mevra::test::on_next_modal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    find_action(window.get(), "toolStripMenuItem390")->trigger();
    EXPECT_EQ(child->image->image_type, mevra::IMGTYP_RGB);
    EXPECT_EQ(child->undo_list.size(), 1u);
    press_ok_on_next_dialog();
    find_action(window.get(), "toolStripMenuItem390")->trigger();
    EXPECT_NE(child->image->image_type, mevra::IMGTYP_RGB);
    EXPECT_LE(child->image->color_num, 4);
    EXPECT_EQ(ui.exclamations, 1);
    EXPECT_TRUE(ui.messages.empty());
    bool is_number = false;
    window->toolStripStatusLabel1->text().toDouble(&is_number);
    EXPECT_TRUE(is_number);
    EXPECT_EQ(child->undo_list.size(), 2u);

    find_action(window.get(), "toolStripMenuItem305")->trigger();  // back to ARGB
    EXPECT_EQ(child->image->image_type, mevra::IMGTYP_RGB);

    child->image->flag = 0;
    find_action(window.get(), "toolStripMenuItem390")->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "開いたファイルに問題があり変換できません");
}

TEST_F(Form1Test, MessagesOfAReductionOnTheWorkerReachTheMessagePort) {
    mevra::image_info src =
        mevra::test::make_argb(2, 2, {0x00FF0000u, 0x0000FF00u, 0xFF0000FFu, 0xFFFFFFFFu});
    const std::string path = dir.file("keys.png");
    ASSERT_EQ(src.save_to_file(mevra::IMGFMT_PNG, path), 0);
    mdichild* child = open_image(path);
    mevra::clgbase& clg = mevra::settings();
    clg.transparency_mode = 1;
    clg.nuki_flg_alpha0 = 1;
    clg.target_color = 2;
    mevra::test::scripted_ui ui;
    press_ok_on_next_dialog();
    find_action(window.get(), "toolStripMenuItem390")->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "抜き色が減色する色数以上なので減色できません。");
    EXPECT_EQ(child->image->image_type, mevra::IMGTYP_RGB);
    EXPECT_EQ(ui.exclamations, 1);
}

TEST_F(Form1Test, ResizeTakesTheSizeFromTheDialog) {
    mdichild* child = open_image(write_argb("a.png", 8, 6));
    press_ok_on_next_dialog([](QWidget* dialog) { fill_size(dialog, 4, 3); });
    find_action(window.get(), "toolStripMenuItem306")->trigger();
    EXPECT_EQ(child->image->width, 4);
    EXPECT_EQ(child->image->height, 3);
    press_ok_on_next_dialog([](QWidget* dialog) { fill_size(dialog, 16, 12); });
    find_action(window.get(), "toolStripMenuItem307")->trigger();
    EXPECT_EQ(child->image->width, 16);
    EXPECT_EQ(child->undo_list.size(), 3u);
    mevra::test::on_next_modal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    find_action(window.get(), "toolStripMenuItem307")->trigger();
    EXPECT_EQ(child->undo_list.size(), 3u);
}

TEST_F(Form1Test, OptionDialogsAndAboutOpenModally) {
    for (const char* name :
         {"toolStripMenuItem391", "toolStripMenuItem005", "toolStripMenuItem1000"}) {
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
    find_action(window.get(), "toolStripMenuItem005")->trigger();
}

// Counts the paint events of the widgets it watches.
struct paint_counter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

TEST_F(Form1Test, ReductionOptionsRepaintTheActiveImageAfterOkOnly) {
    mdichild* child = open_image(write_argb("a.png", 4, 4));
    paint_counter counter;
    child->canvas()->installEventFilter(&counter);
    mevra::test::settle();
    counter.paints = 0;
    mevra::test::on_next_modal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    find_action(window.get(), "toolStripMenuItem391")->trigger();
    mevra::test::settle();
    EXPECT_EQ(counter.paints, 0);
    press_ok_on_next_dialog();
    find_action(window.get(), "toolStripMenuItem391")->trigger();
    mevra::test::settle();
    EXPECT_GT(counter.paints, 0);
}

TEST_F(Form1Test, CopyAndOpenFromClipboardKeepAlpha) {
    install_qt_ports();
    mevra::image_info src = mevra::test::make_argb(2, 1, {0x80112233u, 0xFF445566u});
    const std::string path = dir.file("a.png");
    ASSERT_EQ(src.save_to_file(mevra::IMGFMT_PNG, path), 0);
    open_image(path);
    find_action(window.get(), "toolStripMenuItem102")->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(2, 1));
    EXPECT_EQ(copied.convertToFormat(QImage::Format_ARGB32).pixel(0, 0), 0x80112233u);

    find_action(window.get(), "toolStripMenuItem010")->trigger();
    mevra::test::settle();
    mdichild* pasted = mdichild::lastActive;
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->windowTitle(), "");
    EXPECT_EQ(pasted->image->get_pos_color(0), 0x80112233u);
    EXPECT_EQ(pasted->image->format, mevra::IMGFMT_CLIPBOARD);
    mevra::set_ui_port(nullptr);
    mevra::set_clipboard_port(nullptr);
}

TEST_F(Form1Test, ClipboardTakesIndexedBitmaps) {
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

TEST_F(Form1Test, ReloadCloseGridZoomAndWindowsMenu) {
    const std::string path = write_argb("a.png", 6, 4);
    mdichild* child = open_image(path);
    find_action(window.get(), "toolStripMenuItem303")->trigger();  // flip
    find_action(window.get(), "toolStripMenuItem001")->trigger();  // reload
    EXPECT_EQ(pixel(child, 0, 0), 0xFF000020u);
    EXPECT_EQ(child->undo_list.size(), 3u);

    find_action(window.get(), "toolStripMenuItem200")->trigger();
    EXPECT_EQ(child->image->grid_mode, 1);
    find_action(window.get(), "toolStripMenuItem202")->trigger();
    EXPECT_EQ(child->image->zoom_scale_level, 3);

    // Without a settings file the palette window starts hidden.
    EXPECT_FALSE(window->fpalette->isVisible());
    find_action(window.get(), "toolStripMenuItem203")->trigger();
    QMenu* view = window->findChild<QMenu*>("toolStripMenuItem_02");
    emit view->aboutToShow();
    QMenu* windows = window->findChild<QMenu*>("toolStripMenuItem204");
    QStringList names;
    for (QAction* a : windows->actions())
        names << a->text();
    EXPECT_EQ(names, QStringList({"팔레트 윈도우  ", "avi player", QString::fromStdString(path)}));
    EXPECT_TRUE(find_action(window.get(), "toolStripMenuItem200")->isChecked());
    EXPECT_TRUE(find_action(window.get(), "toolStripMenuItem203")->isChecked());
    find_action(window.get(), "toolStripMenuItem203")->trigger();
    EXPECT_FALSE(window->fpalette->isVisible());

    mevra::test::scripted_ui ui(mevra::msg_answer::no);
    find_action(window.get(), "toolStripMenuItem002")->trigger();  // close, do not save
    mevra::test::settle();
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(mdichild::lastActive, nullptr);
    QMenu* convert = window->findChild<QMenu*>("toolStripMenuItem_03");
    emit convert->aboutToShow();
    EXPECT_FALSE(find_action(window.get(), "toolStripMenuItem390")->isEnabled());
}

TEST_F(Form1Test, ClosingTheActiveImageWindowActivatesTheNextImageWindow) {
    mevra::settings().draw_type = 3;
    mdichild* first = open_image(write_argb("a.png", 5, 4));
    mevra::settings().draw_type = 0;
    mdichild* second = open_image(write_argb("b.png", 3, 2));
    ASSERT_EQ(mdichild::lastActive, second);
    // The palette window was active last; it is never chosen.
    QWidget* palette_frame = window->fpalette->parentWidget();
    palette_frame->show();
    window->mdi_area()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(palette_frame));
    mevra::test::scripted_ui ui(mevra::msg_answer::no);
    find_action(window.get(), "toolStripMenuItem002")->trigger();
    mevra::test::settle();
    ASSERT_EQ(mdichild::lastActive, first);
    EXPECT_EQ(window->fpalette->findChild<QLabel*>("label10")->text(), "Size W: 5 H:4");
    EXPECT_TRUE(window->fpalette->findChild<QToolButton*>("radioButton9")->isChecked());
    find_action(window.get(), "toolStripMenuItem002")->trigger();  // a second Ctrl+W works
    mevra::test::settle();
    EXPECT_EQ(image_window_count(), 0);
    EXPECT_EQ(mdichild::lastActive, nullptr);
}

TEST_F(Form1Test, ReloadOfAVanishedFileClosesTheWindow) {
    const std::string path = write_argb("a.png", 6, 4);
    open_image(path);
    std::filesystem::remove(path);
    mevra::test::scripted_ui ui;
    find_action(window.get(), "toolStripMenuItem001")->trigger();
    mevra::test::settle();
    EXPECT_EQ(ui.messages.size(), 1u);  // the loader's message
    EXPECT_EQ(mdichild::lastActive, nullptr);
    EXPECT_EQ(image_window_count(), 0);
}

}  // namespace
