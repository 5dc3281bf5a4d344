#include "app/main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStatusBar>

#include "app/main_window_settings.h"
#include "avi/avi_player.h"
#include "batch/batch_dialog.h"
#include "common/file_drops.h"
#include "common/menu_shortcuts.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"
#include "settings/clgbase.h"
#include "views/image_in_charge.h"
#include "views/image_window.h"
#include "views/list_view_dialog.h"
#include "views/palette_window.h"

#include "dialogs/about_dialog.h"
#include "dialogs/environment_options_dialog.h"
#include "dialogs/reduction_options_dialog.h"
#include "dialogs/trim_dialog.h"

main_window::main_window(QWidget* parent) : QMainWindow(parent) {
    // 1. Menus, status bar and dialogs' frame.
    setObjectName("main_window");
    setWindowTitle("MEVRA");
    setMinimumSize(480, 360);
    resize(645, 422);
    setAcceptDrops(true);
    mdi_area_ = new QMdiArea(this);
    mdi_area_->setObjectName("mdi_area");
    // As any multiple-document frame: a sub-window beyond the edge stays reachable.
    mdi_area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_area_);
    build_menus();
    connect_commands();
    // Image windows, the palette window and the player: the menu bar's keys
    // win over those of each sub-window's own menu.
    connect(mdi_area_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        mevra::gui::give_way_to_menu_shortcuts(window, mevra::gui::menu_shortcuts(menuBar()));
    });

    status_label = new QLabel("0", this);
    status_label->setObjectName("status_label");
    status_label->setFixedWidth(48);
    status_label->setFrameStyle(QFrame::Box | QFrame::Plain);
    status_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addPermanentWidget(status_label);

    // 2. The settings object, before any window reads an option.
    mevra::settings();

    // 3. The palette window: an MDI child without a close box, so it is only
    // shown and hidden, never destroyed before exit.
    palette_panel = new palette_window;
    QMdiSubWindow* palette_frame = mdi_area_->addSubWindow(
        palette_panel, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    palette_frame->setObjectName("palette_frame");
    palette_frame->setWindowTitle(palette_panel->windowTitle());
    palette_frame->show();

    // 4. The AVI player: like the palette window, a sub-window without a
    // close box.
    player = new avi_player;
    mdi_area_->addSubWindow(player, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    player->show();
    palette_panel->repaint_avi = [this] {
        if (player) player->repaint_image();
    };
    palette_panel->avi_playing = [this] { return player && player->play_mode() == 1; };

    // 5. The palette window acts on the image in charge.
    palette_panel->active_window = [this] { return active_image(); };

    // 6.–8. The option dialogs and the about box, created once and reused.
    reduction_options = new reduction_options_dialog(this);
    reduction_options->on_accepted = [this] {
        if (image_window* child = active_image()) child->repaint_image();
    };
    trim_options = new trim_dialog(this);
    trim_options->active_image_size = [this]() -> std::pair<int, int> {
        const image_window* child = active_image();
        if (!child || !child->image) return {0, 0};
        return {child->image->width, child->image->height};
    };
    environment_options = new environment_options_dialog(this);
    about_box = new about_dialog(this);
    batch_window = new batch_dialog(this);
    batch_window->reduction_options = reduction_options;
    batch_window->trim_options = trim_options;
    list_view = new list_view_dialog(this);

    // 9. The settings file places the windows.
    load_ini_file();
}

main_window::~main_window() {
    // The sub-windows going with the MDI area must not reach a half-destroyed
    // window, nor the palette window, which may go before them.
    disconnect(mdi_area_, nullptr, this, nullptr);
    for (QMdiSubWindow* sub : mdi_area_->subWindowList())
        if (auto* image = qobject_cast<image_window*>(sub)) image->tools = nullptr;
}

image_window* main_window::active_image() const {
    return image_in_charge::of(*mdi_area_).window();
}

// ---------------------------------------------------------------------------
// Settings file: read once at the end of the constructor (main.cpp's show()
// then honours the state it set), written once after a confirmed exit.

void main_window::load_ini_file() {
    const mevra::window_layout layout = mevra::gui::load_settings_file(placed_windows());
    ini_listview_path1_ = QString::fromStdString(layout.listview_path1.value_or(std::string()));
    ini_listview_path2_ = QString::fromStdString(layout.listview_path2.value_or(std::string()));
    if (list_view) {
        list_view->f1_dir = ini_listview_path1_;
        list_view->f2_dir = ini_listview_path2_;
    }
    // The palette window was built before the options were read.
    palette_panel->set_draw_type_button(mevra::settings().draw_type);
    palette_panel->info_update();
}

void main_window::save_ini_file() {
    mevra::window_layout folders;
    folders.listview_path1 = ini_listview_path1_.toStdString();
    folders.listview_path2 = ini_listview_path2_.toStdString();
    if (list_view) {
        folders.listview_path1 = list_view->f1_dir.toStdString();
        folders.listview_path2 = list_view->f2_dir.toStdString();
    }
    // A failure has been reported; the exit goes on regardless.
    mevra::gui::save_settings_file(placed_windows(), folders);
}

mevra::gui::layout_windows main_window::placed_windows() {
    mevra::gui::layout_windows windows;
    windows.main = this;
    // The palette is placed through its MDI frame, inside the main window.
    if (palette_panel)
        windows.palette = qobject_cast<QMdiSubWindow*>(palette_panel->parentWidget());
    windows.option_dialog = reduction_options;
    // The AVI player is itself the MDI sub-window.
    windows.avi_player = player;
    windows.listview = list_view;
    return windows;
}

void main_window::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (subwindows_checked_) return;
    subwindows_checked_ = true;
    // Only now is the area laid out. A maximised window may still be growing
    // to the screen: what would lie inside the grown area stays where it is.
    QSize reach = mdi_area_->viewport()->size();
    if (isMaximized() && screen()) reach = reach.expandedTo(screen()->availableSize());
    const mevra::gui::layout_windows placed = placed_windows();
    for (QWidget* subwindow : {placed.palette, placed.avi_player})
        if (subwindow) mevra::gui::keep_reachable(subwindow, reach);
}

// ---------------------------------------------------------------------------
// Opening

void main_window::set_image_last_open(const QString& path) {
    mevra::settings().set_image_last_open(path.toStdString());
}

void main_window::file_open_new_window(const QString& path) {
    auto* child = new image_window;
    child->tools = palette_panel;
    mdi_area_->addSubWindow(child);
    child->setWindowTitle(path);
    if (child->open_file(path) != 0) {
        // The loader has explained the problem; the window was never shown.
        child->discard();
        return;
    }
    child->show();
    child->undo_add();
    child->edit_change = 0;
    const mevra::clgbase& clg = mevra::settings();
    child->image->zoom_scale_level = clg.zoom_level;
    child->image->grid_mode = clg.grid_mode;
    child->image->draw_type = clg.draw_type;
    child->zoom_changed();
}

void main_window::image_files_open(const QStringList& paths) {
    for (const QString& path : paths) {
        if (!QFileInfo(path).isFile()) continue;
        set_image_last_open(path);
        file_open_new_window(path);
    }
}

void main_window::dragEnterEvent(QDragEnterEvent* event) {
    accept_file_drag(event);
}

void main_window::dropEvent(QDropEvent* event) {
    const QStringList paths = dropped_local_files(*event);
    event->setDropAction(Qt::CopyAction);
    event->accept();
    image_files_open(paths);
}

// ---------------------------------------------------------------------------
// Exit: every image window may refuse (unsaved changes), then the question is
// asked in every case; only both together let the program end.

void main_window::closeEvent(QCloseEvent* event) {
    if (exit_confirmed_) {
        event->accept();
        return;
    }
    bool refused = false;
    for (QMdiSubWindow* w : mdi_area_->subWindowList()) {
        auto* child = qobject_cast<image_window*>(w);
        if (child && !child->query_close()) refused = true;
    }
    const mevra::msg_answer answer = mevra::ui().message_box(
        mevra::ui_text("main_window", "어플리케이션을 종료합니까?  "),
        mevra::ui_text("main_window", "종료확인"), mevra::msg_buttons::ok_cancel);
    if (refused || answer != mevra::msg_answer::ok) {
        event->ignore();
        return;
    }
    exit_confirmed_ = true;
    // The windows have answered already; they close without asking again.
    for (QMdiSubWindow* w : mdi_area_->subWindowList())
        if (auto* child = qobject_cast<image_window*>(w)) child->discard();
    save_ini_file();
    event->accept();
}
