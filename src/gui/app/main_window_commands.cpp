// The menu commands of the main window. Each one acts on the active image
// window (image_window::lastActive) and checks for it itself, because a shortcut
// may reach a command whose menu item was enabled at the last opening.
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/busy_run.h"
#include "app/main_window.h"
#include "avi/avi_player.h"
#include "batch/batch_dialog.h"
#include "platform/clipboard_port.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"
#include "settings/clgbase.h"
#include "views/image_save_filters.h"
#include "views/image_window.h"
#include "views/list_view_dialog.h"
#include "views/palette_window.h"

#include "dialogs/about_dialog.h"
#include "dialogs/environment_options_dialog.h"
#include "dialogs/reduction_options_dialog.h"
#include "dialogs/trim_dialog.h"

namespace {

image_window* active() {
    return image_window::check_mdi() ? image_window::lastActive : nullptr;
}

// The active image window for a conversion, or null after asking for one.
image_window* image_to_convert() {
    image_window* child = active();
    if (!child)
        mevra::show_message(mevra::ui_text("main_window", "変換する画像を選んでください"),
                            mevra::ui_text("main_window", "변환"));
    return child;
}

// Records the new state of a changed image and shows it.
void image_changed(image_window* child) {
    child->undo_add();
    child->zoom_changed();
}

}  // namespace

void main_window::connect_commands() {
    const auto on = [this](const char* name, auto&& slot) {
        connect(findChild<QAction*>(name), &QAction::triggered, this, slot);
    };
    on("open_image_action", [this] { cmd_open(); });
    on("open_clipboard_action", [this] { cmd_open_clipboard(); });
    on("reload_image_action", [this] { cmd_reload(); });
    on("close_image_action", [this] { cmd_close_image(); });
    on("save_image_action", [this] { cmd_save(0); });
    on("save_image_as_action", [this] { cmd_save(1); });
    on("print_action", [this] { cmd_print(); });
    on("print_preview_action", [this] { cmd_print_preview(); });
    on("environment_options_action", [this] { cmd_environment_options(); });
    on("list_view_action", [this] { list_view->setVisible(!list_view->isVisible()); });
    on("batch_action", [this] { cmd_batch(); });
    on("exit_action", [this] { close(); });
    on("undo_action", [this] { cmd_undo(false); });
    on("redo_action", [this] { cmd_undo(true); });
    on("copy_action", [this] { cmd_copy(); });
    on("grid_action", [this] { cmd_grid(); });
    on("zoom_in_action", [this] { cmd_zoom(0); });
    on("zoom_out_action", [this] { cmd_zoom(1); });
    on("palette_window_action", [this] { cmd_toggle_palette(); });
    on("reduce_colours_action", [this] { cmd_reduce(); });
    on("reduction_options_action", [this] { cmd_reduction_options(); });
    const char* rotations[] = {"rotate_right_action", "rotate_left_action", "flip_vertical_action",
                               "flip_horizontal_action"};
    for (int code = 0; code < 4; ++code)
        on(rotations[code], [this, code] { cmd_rotate(code); });
    const char* colours[] = {"luminance_to_alpha_action",
                             "opaque_alpha_action",
                             "key_colour_clear_action",
                             "monochrome_action",
                             "invert_action",
                             "edge_colour_action",
                             "transparent_to_back_colour_action",
                             "transparent_to_first_entry_action"};
    for (int code = 0; code < 8; ++code)
        on(colours[code], [this, code] { cmd_color(code); });
    on("to_argb_action", [this] { cmd_to_argb(); });
    on("change_size_action", [this] { cmd_resize(0); });
    on("scale_action", [this] { cmd_resize(1); });
    on("about_action", [this] { cmd_about(); });
    on("avi_player_action", [this] { cmd_toggle_avi(); });
    // The list-view item (205) toggles a window that is wired in with it.
}

// ---------------------------------------------------------------------------
// File

void main_window::cmd_open() {
    QFileDialog dialog(this, tr("이미지 열기 "));
    dialog.setObjectName("open_file_dialog");
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

void main_window::cmd_open_clipboard() {
    if (mevra::clipboard().has_image()) file_open_new_window(QString());
}

void main_window::cmd_reload() {
    image_window* child = active();
    if (!child) {
        mevra::show_message(mevra::ui_text("main_window", "読み直す画像を選んでください"),
                            mevra::ui_text("main_window", "ファイルの読み直し"));
        return;
    }
    child->image.reset();
    if (child->open_file(child->windowTitle()) != 0) {
        child->discard();
        return;
    }
    image_changed(child);
}

void main_window::cmd_close_image() {
    if (image_window* child = active()) child->close();
}

void main_window::cmd_save(int mode) {
    if (image_window* child = active()) child->save_image(mode);
}

void main_window::cmd_environment_options() {
    if (open_environment_dialog() != QDialog::Accepted) return;
    if (image_window* child = active()) {
        child->repaint_image();
        if (palette_panel) palette_panel->info_update();
    }
}

void main_window::cmd_batch() {
    // The five batch settings go into the dialog and come back whatever way
    // it closed.
    if (!batch_window) return;
    batch_window->settings_to_controls(mevra::settings());
    batch_window->exec();
    batch_window->controls_to_settings(mevra::settings());
}

// ---------------------------------------------------------------------------
// Edit

void main_window::cmd_undo(bool redo) {
    image_window* child = active();
    if (!child) return;
    if (redo)
        child->redo_image();
    else
        child->undo_image();
}

void main_window::cmd_copy() {
    image_window* child = active();
    if (child && child->image && child->image->flag != 0)
        child->image->save_to_file(mevra::IMGFMT_CLIPBOARD, std::string());
}

// ---------------------------------------------------------------------------
// View

void main_window::cmd_grid() {
    mevra::clgbase& clg = mevra::settings();
    clg.grid_mode = clg.grid_mode == 1 ? 0 : 1;
    image_window* child = active();
    if (!child) {
        repaint_avi_unless_playing();
        return;
    }
    child->image->grid_mode = clg.grid_mode;
    child->repaint_image();
}

void main_window::cmd_zoom(int direction) {
    mevra::clgbase& clg = mevra::settings();
    clg.zoom_proc(direction);
    if (palette_panel) palette_panel->info_update();
    image_window* child = active();
    if (!child) {
        repaint_avi_unless_playing();
        return;
    }
    child->image->zoom_scale_level = clg.zoom_level;
    child->zoom_changed();
}

void main_window::cmd_toggle_palette() {
    if (!palette_panel) return;
    QWidget* frame = palette_panel->parentWidget() ? palette_panel->parentWidget() : palette_panel;
    frame->setVisible(!frame->isVisible());
    findChild<QAction*>("palette_window_action")->setChecked(frame->isVisible());
}

void main_window::cmd_toggle_avi() {
    if (!player) return;
    player->setVisible(!player->isVisible());
    findChild<QAction*>("avi_player_action")->setChecked(player->isVisible());
}

void main_window::repaint_avi_unless_playing() {
    // While it plays, the player's worker draws with the new settings itself.
    if (player && player->play_mode() == 0) player->repaint_image();
}

// ---------------------------------------------------------------------------
// Convert

void main_window::cmd_reduce() {
    image_window* child = active();
    if (!child) {
        mevra::show_message(mevra::ui_text("main_window", "減色する画像を選んでください"),
                            mevra::ui_text("main_window", "エラー"));
        return;
    }
    if (!child->image || child->image->flag == 0) {
        mevra::show_message(
            mevra::ui_text("main_window", "開いたファイルに問題があり変換できません"),
            mevra::ui_text("main_window", "エラー"));
        return;
    }
    if (open_reduction_options_dialog() != QDialog::Accepted) return;
    QElapsedTimer clock;
    clock.start();
    mevra::image_info* image = child->image.get();
    const int target = mevra::settings().target_color;
    run_with_busy_indicator(this, [image, target] { image->image_to_index(target); });
    status_label->setText(QString::number(static_cast<double>(clock.elapsed()) * 0.001));
    image_changed(child);
    mevra::ui().exclamation();
}

void main_window::cmd_reduction_options() {
    open_reduction_options_dialog();
}

void main_window::cmd_rotate(int code) {
    image_window* child = image_to_convert();
    if (!child) return;
    child->image->flip_and_rotate(code);
    image_changed(child);
}

void main_window::cmd_color(int code) {
    image_window* child = image_to_convert();
    if (!child) return;
    child->image->color_one_calc(code);
    image_changed(child);
}

void main_window::cmd_to_argb() {
    image_window* child = active();
    if (!child) return;
    child->image->image_to_argb();
    image_changed(child);
}

void main_window::cmd_resize(int mode) {
    image_window* child = active();
    if (!child) {
        mevra::show_message(
            mode == 0 ? mevra::ui_text("main_window", "サイズ変更する画像を選んでください")
                      : mevra::ui_text("main_window", "拡大、縮小する画像を選んでください"),
            mevra::ui_text("main_window", "トリミング"));
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

void main_window::cmd_about() {
    about_box->exec();
}

void main_window::open_recent(const QString& path) {
    if (QFileInfo(path).isFile()) {
        file_open_new_window(path);
        return;
    }
    mevra::show_message(
        mevra::ui_text("main_window", "ファイルが見つかりませんでした") + "\n" + path.toStdString(),
        mevra::ui_text("main_window", "최근 작업 파일 "));
}

int main_window::open_reduction_options_dialog() {
    return reduction_options->open_dialog();
}

int main_window::open_trim_dialog(int mode) {
    return trim_options->open_dialog(mode);
}

int main_window::open_environment_dialog() {
    return environment_options->open_dialog();
}
