// The menu commands of the main window. Each one acts on the active image
// window (mdichild::lastActive) and checks for it itself, because a shortcut
// may reach a command whose menu item was enabled at the last opening.
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/busy_run.h"
#include "app/form1.h"
#include "avi/aviwindow.h"
#include "batch/batch.h"
#include "platform/clipboard_port.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"
#include "settings/clgbase.h"
#include "views/diffdlg.h"
#include "views/formpalette.h"
#include "views/image_save_filters.h"
#include "views/mdichild.h"

#include "dialogs/about.h"
#include "dialogs/conv_option.h"
#include "dialogs/conv_trim.h"
#include "dialogs/enviroment_option.h"

namespace {

mdichild* active() {
    return mdichild::check_mdi() ? mdichild::lastActive : nullptr;
}

// The active image window for a conversion, or null after asking for one.
mdichild* image_to_convert() {
    mdichild* child = active();
    if (!child)
        mevra::show_message(mevra::ui_text("Form1", "変換する画像を選んでください"),
                            mevra::ui_text("Form1", "변환"));
    return child;
}

// Records the new state of a changed image and shows it.
void image_changed(mdichild* child) {
    child->undo_add();
    child->mdichild_zoom_change();
}

}  // namespace

void Form1::connect_commands() {
    const auto on = [this](const char* name, auto&& slot) {
        connect(findChild<QAction*>(name), &QAction::triggered, this, slot);
    };
    on("toolStripMenuItem000", [this] { cmd_open(); });
    on("toolStripMenuItem010", [this] { cmd_open_clipboard(); });
    on("toolStripMenuItem001", [this] { cmd_reload(); });
    on("toolStripMenuItem002", [this] { cmd_close_image(); });
    on("toolStripMenuItem003", [this] { cmd_save(0); });
    on("toolStripMenuItem004", [this] { cmd_save(1); });
    on("toolStripMenuItem011", [this] { cmd_print(); });
    on("toolStripMenuItem013", [this] { cmd_print_preview(); });
    on("toolStripMenuItem005", [this] { cmd_environment_options(); });
    on("toolStripMenuItem205", [this] { fdiffdlg->setVisible(!fdiffdlg->isVisible()); });
    on("toolStripMenuItem007", [this] { cmd_batch(); });
    on("toolStripMenuItem006", [this] { close(); });
    on("toolStripMenuItem100", [this] { cmd_undo(false); });
    on("toolStripMenuItem101", [this] { cmd_undo(true); });
    on("toolStripMenuItem102", [this] { cmd_copy(); });
    on("toolStripMenuItem200", [this] { cmd_grid(); });
    on("toolStripMenuItem201", [this] { cmd_zoom(0); });
    on("toolStripMenuItem202", [this] { cmd_zoom(1); });
    on("toolStripMenuItem203", [this] { cmd_toggle_palette(); });
    on("toolStripMenuItem390", [this] { cmd_reduce(); });
    on("toolStripMenuItem391", [this] { cmd_reduction_options(); });
    const char* rotations[] = {"toolStripMenuItem301", "toolStripMenuItem302",
                               "toolStripMenuItem303", "toolStripMenuItem304"};
    for (int code = 0; code < 4; ++code)
        on(rotations[code], [this, code] { cmd_rotate(code); });
    const char* colours[] = {"toolStripMenuItem310", "toolStripMenuItem311", "toolStripMenuItem312",
                             "toolStripMenuItem313", "toolStripMenuItem314", "toolStripMenuItem315",
                             "toolStripMenuItem316", "toolStripMenuItem317"};
    for (int code = 0; code < 8; ++code)
        on(colours[code], [this, code] { cmd_color(code); });
    on("toolStripMenuItem305", [this] { cmd_to_argb(); });
    on("toolStripMenuItem306", [this] { cmd_resize(0); });
    on("toolStripMenuItem307", [this] { cmd_resize(1); });
    on("toolStripMenuItem1000", [this] { cmd_about(); });
    on("toolStripMenuItem206", [this] { cmd_toggle_avi(); });
    // The list-view item (205) toggles a window that is wired in with it.
}

// ---------------------------------------------------------------------------
// File

void Form1::cmd_open() {
    QFileDialog dialog(this, tr("이미지 열기 "));
    dialog.setObjectName("openFileDialog1");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    // The types the program saves, in the same words, then every file.
    dialog.setNameFilters(image_save_filters() + QStringList{tr("全てのファイル (*)")});
    dialog.setDefaultSuffix("bmp");
    const QFileInfo last(QString::fromStdString(mevra::settings().image_last_open_file));
    if (!last.filePath().isEmpty() && last.isFile()) {
        dialog.setDirectory(last.absolutePath());
        dialog.selectFile(last.fileName());
    }
    if (dialog.exec() != QDialog::Accepted) return;
    image_files_open(dialog.selectedFiles());
}

void Form1::cmd_open_clipboard() {
    if (mevra::clipboard().has_image()) file_open_new_window(QString());
}

void Form1::cmd_reload() {
    mdichild* child = active();
    if (!child) {
        mevra::show_message(mevra::ui_text("Form1", "読み直す画像を選んでください"),
                            mevra::ui_text("Form1", "ファイルの読み直し"));
        return;
    }
    child->image.reset();
    if (child->childFileOpen(child->windowTitle()) != 0) {
        child->discard();
        return;
    }
    image_changed(child);
}

void Form1::cmd_close_image() {
    if (mdichild* child = active()) child->close();
}

void Form1::cmd_save(int mode) {
    if (mdichild* child = active()) child->save_image(mode);
}

void Form1::cmd_environment_options() {
    if (open_environment_dialog() != QDialog::Accepted) return;
    if (mdichild* child = active()) {
        child->imageRePaint();
        if (fpalette) fpalette->info_update();
    }
}

void Form1::cmd_batch() {
    // The five batch settings go into the dialog and come back whatever way
    // it closed.
    if (!fbatch) return;
    fbatch->settings_to_controls(mevra::settings());
    fbatch->exec();
    fbatch->controls_to_settings(mevra::settings());
}

// ---------------------------------------------------------------------------
// Edit

void Form1::cmd_undo(bool redo) {
    mdichild* child = active();
    if (!child) return;
    if (redo)
        child->redo_image();
    else
        child->undo_image();
}

void Form1::cmd_copy() {
    mdichild* child = active();
    if (child && child->image && child->image->flag != 0)
        child->image->save_to_file(mevra::IMGFMT_CLIPBOARD, std::string());
}

// ---------------------------------------------------------------------------
// View

void Form1::cmd_grid() {
    mevra::clgbase& clg = mevra::settings();
    clg.grid_mode = clg.grid_mode == 1 ? 0 : 1;
    mdichild* child = active();
    if (!child) {
        repaint_avi_unless_playing();
        return;
    }
    child->image->grid_mode = clg.grid_mode;
    child->imageRePaint();
}

void Form1::cmd_zoom(int direction) {
    mevra::clgbase& clg = mevra::settings();
    clg.zoom_proc(direction);
    if (fpalette) fpalette->info_update();
    mdichild* child = active();
    if (!child) {
        repaint_avi_unless_playing();
        return;
    }
    child->image->zoom_scale_level = clg.zoom_level;
    child->mdichild_zoom_change();
}

void Form1::cmd_toggle_palette() {
    if (!fpalette) return;
    QWidget* frame = fpalette->parentWidget() ? fpalette->parentWidget() : fpalette;
    frame->setVisible(!frame->isVisible());
    findChild<QAction*>("toolStripMenuItem203")->setChecked(frame->isVisible());
}

void Form1::cmd_toggle_avi() {
    if (!faviwindow) return;
    faviwindow->setVisible(!faviwindow->isVisible());
    findChild<QAction*>("toolStripMenuItem206")->setChecked(faviwindow->isVisible());
}

void Form1::repaint_avi_unless_playing() {
    // While it plays, the player's worker draws with the new settings itself.
    if (faviwindow && faviwindow->VFWIN_GetMode() == 0) faviwindow->imageRePaint();
}

// ---------------------------------------------------------------------------
// Convert

void Form1::cmd_reduce() {
    mdichild* child = active();
    if (!child) {
        mevra::show_message(mevra::ui_text("Form1", "減色する画像を選んでください"),
                            mevra::ui_text("Form1", "エラー"));
        return;
    }
    if (!child->image || child->image->flag == 0) {
        mevra::show_message(mevra::ui_text("Form1", "開いたファイルに問題があり変換できません"),
                            mevra::ui_text("Form1", "エラー"));
        return;
    }
    if (open_genshoku_dialog() != QDialog::Accepted) return;
    QElapsedTimer clock;
    clock.start();
    mevra::image_info* image = child->image.get();
    const int target = mevra::settings().target_color;
    run_with_busy_indicator(this, [image, target] { image->image_to_index(target); });
    toolStripStatusLabel1->setText(QString::number(static_cast<double>(clock.elapsed()) * 0.001));
    image_changed(child);
    mevra::ui().exclamation();
}

void Form1::cmd_reduction_options() {
    open_genshoku_dialog();
}

void Form1::cmd_rotate(int code) {
    mdichild* child = image_to_convert();
    if (!child) return;
    child->image->flip_and_rotate(code);
    image_changed(child);
}

void Form1::cmd_color(int code) {
    mdichild* child = image_to_convert();
    if (!child) return;
    child->image->color_one_calc(code);
    image_changed(child);
}

void Form1::cmd_to_argb() {
    mdichild* child = active();
    if (!child) return;
    child->image->image_to_argb();
    image_changed(child);
}

void Form1::cmd_resize(int mode) {
    mdichild* child = active();
    if (!child) {
        mevra::show_message(mode == 0
                                ? mevra::ui_text("Form1", "サイズ変更する画像を選んでください")
                                : mevra::ui_text("Form1", "拡大、縮小する画像を選んでください"),
                            mevra::ui_text("Form1", "トリミング"));
        return;
    }
    if (open_trim_dialog(mode) != QDialog::Accepted) return;
    mevra::image_info& image = *child->image;
    // A calculation that failed leaves the previous rectangle behind, which
    // belongs to another image: nothing is applied then.
    if (image.trim_calc() != 0) return;
    const mevra::clgbase& clg = mevra::settings();
    const int result =
        clg.trim_or_scaling == 0
            ? image.image_triming(clg.trim_left, clg.trim_top, clg.trim_width, clg.trim_height)
            : image.image_scaling(clg.trim_width, clg.trim_height);
    // A refused size has been reported and left the image as it was.
    if (result != 0) return;
    image_changed(child);
}

// ---------------------------------------------------------------------------
// Help and the dialogs

void Form1::cmd_about() {
    fabout->exec();
}

void Form1::open_recent(const QString& path) {
    if (QFileInfo(path).isFile()) {
        file_open_new_window(path);
        return;
    }
    mevra::show_message(
        mevra::ui_text("Form1", "ファイルが見つかりませんでした") + "\n" + path.toStdString(),
        mevra::ui_text("Form1", "최근 작업 파일 "));
}

int Form1::open_genshoku_dialog() {
    return fgensyokuopt->OpenGenshokuDialog();
}

int Form1::open_trim_dialog(int mode) {
    return fconvtrim->OpenTrimOptionDialog(mode);
}

int Form1::open_environment_dialog() {
    return fenvoption->open_dialog();
}
