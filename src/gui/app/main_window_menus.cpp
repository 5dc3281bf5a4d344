// The menu tree of the main window and the updates run when a menu opens.
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>

#include "app/main_window.h"
#include "avi/avi_player.h"
#include "platform/ui_port.h"
#include "settings/clgbase.h"
#include "views/image_window.h"
#include "views/list_view_dialog.h"
#include "views/palette_window.h"

namespace {

QMenu* add_menu(QMenu* parent_menu, QMenuBar* bar, const char* name, const QString& text) {
    QMenu* menu = parent_menu ? parent_menu->addMenu(text) : bar->addMenu(text);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

}  // namespace

QAction* main_window::add_item(QMenu* menu, const char* name, const QString& text,
                               const QKeySequence& shortcut, const QString& tip) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    // Actions live on the window so their shortcuts work while menus are closed.
    action->setParent(this);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    if (!tip.isEmpty()) action->setToolTip(tip);
    return action;
}

void main_window::build_menus() {
    QMenuBar* bar = menuBar();

    QMenu* file = add_menu(nullptr, bar, "file_menu", tr("파일  "));
    file->setToolTipsVisible(true);
    add_item(file, "open_image_action", tr("이미지 열기 "), QKeySequence("Ctrl+O"),
             tr("open image file"));
    add_item(file, "open_clipboard_action", tr("클립보드 이미지 열기    "));
    add_item(file, "reload_image_action", tr("이미지 다시 읽기"), {}, tr("reload image"));
    file->addSeparator();
    add_item(file, "close_image_action", tr("이미지 닫기  "), QKeySequence("Ctrl+W"),
             tr("close current window"));
    file->addSeparator();
    add_item(file, "save_image_action", tr("이미지 저장 "), QKeySequence("Ctrl+S"),
             tr("save current image"));
    add_item(file, "save_image_as_action", tr("이미지 다른이름저장"), {},
             tr("save image to another name"));
    file->addSeparator();
    add_item(file, "print_action", tr("인쇄"));
    add_item(file, "print_preview_action", tr("인쇄 전 확인  "));
    add_menu(file, nullptr, "recent_files_menu", tr("최근 작업 파일 "));
    file->addSeparator();
    add_item(file, "environment_options_action", tr("환경설정"), {}, tr("option"));
    add_item(file, "batch_action", tr("배치 처리"), QKeySequence("F7"));
    file->addSeparator();
    add_item(file, "exit_action", tr("종료"), QKeySequence("Ctrl+Q"), tr("apprication exit"));
    connect(file, &QMenu::aboutToShow, this, &main_window::file_menu_opened);

    QMenu* edit = add_menu(nullptr, bar, "edit_menu", tr("편집"));
    add_item(edit, "undo_action", tr("되돌리기   "), QKeySequence("Ctrl+Z"));
    add_item(edit, "redo_action", tr("되돌리기 취소  "), QKeySequence("Ctrl+Shift+Z"));
    edit->addSeparator();
    add_item(edit, "copy_action", tr("클립보드에 복사   "), QKeySequence("Ctrl+C"));

    QMenu* view = add_menu(nullptr, bar, "view_menu", tr("표시"));
    add_item(view, "grid_action", tr("그리드 표시"), QKeySequence("Ctrl+G"))->setCheckable(true);
    add_item(view, "zoom_in_action", tr("이미지 확대"), QKeySequence("Ctrl+Up"));
    add_item(view, "zoom_out_action", tr("이미지 축소"), QKeySequence("Ctrl+Down"));
    view->addSeparator();
    add_item(view, "palette_window_action", tr("팔레트 윈도우  "))->setCheckable(true);
    add_menu(view, nullptr, "windows_menu", tr("열려 있는 윈도우 "));
    QAction* list_view = add_item(view, "list_view_action", tr("リストビュー"));
    list_view->setCheckable(true);
    list_view->setVisible(false);
    add_item(view, "avi_player_action", tr("AVI 윈도우 "))->setCheckable(true);
    connect(view, &QMenu::aboutToShow, this, &main_window::view_menu_opened);

    QMenu* convert = add_menu(nullptr, bar, "convert_menu", tr("변환"));
    add_item(convert, "reduce_colours_action", tr("감색"), QKeySequence("Ctrl+R"));
    add_item(convert, "reduction_options_action", tr("감색 옵션 설정 "));
    convert->addSeparator();
    QMenu* rotate = add_menu(convert, nullptr, "rotate_menu", tr("회전/반전"));
    add_item(rotate, "rotate_right_action", tr("우로 90°회전 "));
    add_item(rotate, "rotate_left_action", tr("좌로 90°회전 "));
    add_item(rotate, "flip_vertical_action", tr("상하 180°반전"));
    add_item(rotate, "flip_horizontal_action", tr("좌우 180°반전"));
    QMenu* colour = add_menu(convert, nullptr, "colour_menu", tr("컬러 변환"));
    add_item(colour, "luminance_to_alpha_action", tr("휘도를 알파에 기입  "));
    add_item(colour, "opaque_alpha_action", tr("알파를 모두 1로 함"));
    add_item(colour, "key_colour_clear_action", tr("빼는색의알파를 0으로 함"));
    add_item(colour, "monochrome_action", tr("모노크롬"));
    add_item(colour, "invert_action", tr("반전"));
    add_item(colour, "edge_colour_action", tr("알파 0부에 불투명경계 색상 취득"));
    add_item(colour, "transparent_to_back_colour_action", tr("[투과대상색]을 백 컬러로 한다"));
    add_item(colour, "transparent_to_first_entry_action", tr("[투과대상색]을 1팔레트로 이동"));
    convert->addSeparator();
    add_item(convert, "to_argb_action", tr("ARGB 포맷으로 변환 "));
    add_item(convert, "change_size_action", tr("사이즈변경"), QKeySequence("Ctrl+T"));
    add_item(convert, "scale_action", tr("확대/축소"));
    connect(convert, &QMenu::aboutToShow, this, &main_window::convert_menu_opened);

    QMenu* help = add_menu(nullptr, bar, "help_menu", tr("도움말"));
    add_item(help, "about_action", tr("MEVRA에 대해 "));
}

void main_window::file_menu_opened() {
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    findChild<QAction*>("open_clipboard_action")->setEnabled(clip && clip->hasImage());
    const bool active = image_window::check_mdi() != 0;
    for (const char* name :
         {"reload_image_action", "close_image_action", "save_image_action", "save_image_as_action"})
        findChild<QAction*>(name)->setEnabled(active);

    // The ring runs from the next slot to write (the oldest) to the newest.
    QMenu* recent = findChild<QMenu*>("recent_files_menu");
    recent->clear();
    const mevra::clgbase& clg = mevra::settings();
    for (int i = 0; i < mevra::clgbase::recent_count; ++i) {
        const std::string& slot = clg.image_last_open_log10[static_cast<size_t>(
            (clg.image_last_open_pos + i) % mevra::clgbase::recent_count)];
        if (slot.empty()) continue;
        const QString path = QString::fromStdString(slot);
        QAction* item = recent->addAction(path);
        item->setObjectName(QString("image_last_open_log%1").arg(i));
        connect(item, &QAction::triggered, this, [this, path] { open_recent(path); });
    }
}

void main_window::view_menu_opened() {
    mevra::clgbase& clg = mevra::settings();
    // The setting follows the image looked at last.
    if (image_window::check_mdi()) clg.grid_mode = image_window::lastActive->image->grid_mode;
    findChild<QAction*>("grid_action")->setChecked(clg.grid_mode != 0);
    findChild<QAction*>("palette_window_action")
        ->setChecked(palette_panel && palette_panel->parentWidget() &&
                     palette_panel->parentWidget()->isVisible());
    findChild<QAction*>("list_view_action")->setChecked(list_view && list_view->isVisible());
    findChild<QAction*>("avi_player_action")->setChecked(player && player->isVisible());

    QMenu* windows = findChild<QMenu*>("windows_menu");
    windows->clear();
    for (QMdiSubWindow* w : mdi_area_->subWindowList()) {
        const bool is_palette = palette_panel && w->widget() == palette_panel;
        const QString text = is_palette ? tr("팔레트 윈도우  ") : w->windowTitle();
        QAction* item = windows->addAction(text);
        item->setObjectName(text);
        QPointer<QMdiSubWindow> target(w);
        connect(item, &QAction::triggered, this, [this, target] {
            if (!target) return;
            target->show();
            mdi_area_->setActiveSubWindow(target);
            target->raise();
        });
    }
}

void main_window::convert_menu_opened() {
    const bool active = image_window::check_mdi() != 0;
    findChild<QAction*>("reduce_colours_action")->setEnabled(active);
    findChild<QAction*>("to_argb_action")->setEnabled(active);
}
