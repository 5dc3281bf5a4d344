#include "app/form1.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStatusBar>

#include "app/form1_settings.h"
#include "avi/aviwindow.h"
#include "batch/batch.h"
#include "common/file_drops.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"
#include "settings/clgbase.h"
#include "views/diffdlg.h"
#include "views/formpalette.h"
#include "views/mdichild.h"

#include "dialogs/about.h"
#include "dialogs/conv_option.h"
#include "dialogs/conv_trim.h"
#include "dialogs/enviroment_option.h"

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
    // 1. Menus, status bar and dialogs' frame.
    setObjectName("Form1");
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

    toolStripStatusLabel1 = new QLabel("0", this);
    toolStripStatusLabel1->setObjectName("toolStripStatusLabel1");
    toolStripStatusLabel1->setFixedWidth(48);
    toolStripStatusLabel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    toolStripStatusLabel1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addPermanentWidget(toolStripStatusLabel1);

    // 2. The settings object, before any window reads an option.
    mevra::settings();

    // 3. The palette window: an MDI child without a close box, so it is only
    // shown and hidden, never destroyed before exit.
    fpalette = new formpalette;
    QMdiSubWindow* palette_frame = mdi_area_->addSubWindow(
        fpalette, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    palette_frame->setObjectName("palette_frame");
    palette_frame->setWindowTitle(fpalette->windowTitle());
    palette_frame->show();

    // 4. The AVI player: like the palette window, a sub-window without a
    // close box. It sets aviwindow::g_instance itself.
    faviwindow = new aviwindow;
    mdi_area_->addSubWindow(faviwindow,
                            Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    faviwindow->show();
    fpalette->repaint_avi = [this] {
        if (faviwindow) faviwindow->imageRePaint();
    };
    fpalette->avi_playing = [this] { return faviwindow && faviwindow->VFWIN_GetMode() == 1; };

    // 5. The image windows reach the palette window through the class.
    mdichild::fpalette = fpalette;

    // 6.–8. The option dialogs and the about box, created once and reused.
    fgensyokuopt = new ConvOption(this);
    fgensyokuopt->on_accepted = [] {
        if (mdichild::check_mdi()) mdichild::lastActive->imageRePaint();
    };
    fconvtrim = new ConvTrim(this);
    fconvtrim->active_image_size = []() -> std::pair<int, int> {
        if (!mdichild::check_mdi() || !mdichild::lastActive->image) return {0, 0};
        return {mdichild::lastActive->image->width, mdichild::lastActive->image->height};
    };
    fenvoption = new EnviromentOption(this);
    fabout = new about(this);
    fbatch = new batch(this);
    fbatch->fgensyokuopt = fgensyokuopt;
    fbatch->fconvtrim = fconvtrim;
    fdiffdlg = new diffdlg(this);

    // 9. The settings file places the windows.
    load_ini_file();
}

Form1::~Form1() {
    // Image windows die with the MDI area; none may stay the active one.
    mdichild::lastActive = nullptr;
    mdichild::fpalette = nullptr;
}

// ---------------------------------------------------------------------------
// Settings file: read once at the end of the constructor (main.cpp's show()
// then honours the state it set), written once after a confirmed exit.

void Form1::load_ini_file() {
    const mevra::window_layout layout =
        mevra::gui::load_settings_file(placed_windows());
    ini_listview_path1_ = QString::fromStdString(layout.listview_path1.value_or(std::string()));
    ini_listview_path2_ = QString::fromStdString(layout.listview_path2.value_or(std::string()));
    if (fdiffdlg) {
        fdiffdlg->f1_dir = ini_listview_path1_;
        fdiffdlg->f2_dir = ini_listview_path2_;
    }
    // The palette window was built before the options were read.
    fpalette->set_draw_type_button(mevra::settings().draw_type);
    fpalette->info_update();
}

void Form1::save_ini_file() {
    mevra::window_layout folders;
    folders.listview_path1 = ini_listview_path1_.toStdString();
    folders.listview_path2 = ini_listview_path2_.toStdString();
    if (fdiffdlg) {
        folders.listview_path1 = fdiffdlg->f1_dir.toStdString();
        folders.listview_path2 = fdiffdlg->f2_dir.toStdString();
    }
    // A failure has been reported; the exit goes on regardless.
    mevra::gui::save_settings_file(placed_windows(), folders);
}

mevra::gui::layout_windows Form1::placed_windows() {
    mevra::gui::layout_windows windows;
    windows.main = this;
    // The palette is placed through its MDI frame, inside the main window.
    if (fpalette) windows.palette = qobject_cast<QMdiSubWindow*>(fpalette->parentWidget());
    windows.option_dialog = fgensyokuopt;
    // The AVI player is itself the MDI sub-window.
    windows.avi_player = faviwindow;
    windows.listview = fdiffdlg;
    return windows;
}

void Form1::showEvent(QShowEvent* event) {
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

void Form1::set_image_last_open(const QString& path) {
    mevra::settings().set_image_last_open(path.toStdString());
}

void Form1::file_open_new_window(const QString& path) {
    auto* child = new mdichild;
    mdi_area_->addSubWindow(child);
    child->setWindowTitle(path);
    if (child->childFileOpen(path) != 0) {
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
    child->mdichild_zoom_change();
}

void Form1::image_files_open(const QStringList& paths) {
    for (const QString& path : paths) {
        if (!QFileInfo(path).isFile()) continue;
        set_image_last_open(path);
        file_open_new_window(path);
    }
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    accept_file_drag(event);
}

void Form1::dropEvent(QDropEvent* event) {
    const QStringList paths = dropped_local_files(*event);
    event->setDropAction(Qt::CopyAction);
    event->accept();
    image_files_open(paths);
}

// ---------------------------------------------------------------------------
// Exit: every image window may refuse (unsaved changes), then the question is
// asked in every case; only both together let the program end.

void Form1::closeEvent(QCloseEvent* event) {
    if (exit_confirmed_) {
        event->accept();
        return;
    }
    bool refused = false;
    for (QMdiSubWindow* w : mdi_area_->subWindowList()) {
        auto* child = qobject_cast<mdichild*>(w);
        if (child && !child->query_close()) refused = true;
    }
    const mevra::msg_answer answer =
        mevra::ui().message_box(mevra::ui_text("Form1", "어플리케이션을 종료합니까?  "),
                                mevra::ui_text("Form1", "종료확인"), mevra::msg_buttons::ok_cancel);
    if (refused || answer != mevra::msg_answer::ok) {
        event->ignore();
        return;
    }
    exit_confirmed_ = true;
    // The windows have answered already; they close without asking again.
    for (QMdiSubWindow* w : mdi_area_->subWindowList())
        if (auto* child = qobject_cast<mdichild*>(w)) child->discard();
    save_ini_file();
    event->accept();
}
