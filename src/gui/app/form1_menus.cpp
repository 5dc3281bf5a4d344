// The menu tree of the main window and the updates run when a menu opens.
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>

#include "app/form1.h"
#include "avi/aviwindow.h"
#include "platform/ui_port.h"
#include "settings/clgbase.h"
#include "views/diffdlg.h"
#include "views/formpalette.h"
#include "views/mdichild.h"

namespace {

QMenu* add_menu(QMenu* parent_menu, QMenuBar* bar, const char* name, const QString& text) {
    QMenu* menu = parent_menu ? parent_menu->addMenu(text) : bar->addMenu(text);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

}  // namespace

QAction* Form1::add_item(QMenu* menu, const char* name, const QString& text,
                         const QKeySequence& shortcut, const QString& tip) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    // Actions live on the window so their shortcuts work while menus are closed.
    action->setParent(this);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    if (!tip.isEmpty()) action->setToolTip(tip);
    return action;
}

void Form1::build_menus() {
    QMenuBar* bar = menuBar();

    QMenu* file = add_menu(nullptr, bar, "toolStripMenuItem_00", tr("파일  "));
    file->setToolTipsVisible(true);
    add_item(file, "toolStripMenuItem000", tr("이미지 열기 "), QKeySequence("Ctrl+O"),
             tr("open image file"));
    add_item(file, "toolStripMenuItem010", tr("클립보드 이미지 열기    "));
    add_item(file, "toolStripMenuItem001", tr("이미지 다시 읽기"), {}, tr("reload image"));
    file->addSeparator();
    add_item(file, "toolStripMenuItem002", tr("이미지 닫기  "), QKeySequence("Ctrl+W"),
             tr("close current window"));
    file->addSeparator();
    add_item(file, "toolStripMenuItem003", tr("이미지 저장 "), QKeySequence("Ctrl+S"),
             tr("save current image"));
    add_item(file, "toolStripMenuItem004", tr("이미지 다른이름저장"), {},
             tr("save image to another name"));
    file->addSeparator();
    add_item(file, "toolStripMenuItem011", tr("인쇄"));
    add_item(file, "toolStripMenuItem013", tr("인쇄 전 확인  "));
    add_menu(file, nullptr, "toolStripMenuItem012", tr("최근 작업 파일 "));
    file->addSeparator();
    add_item(file, "toolStripMenuItem005", tr("환경설정"), {}, tr("option"));
    add_item(file, "toolStripMenuItem007", tr("배치 처리"), QKeySequence("F7"));
    file->addSeparator();
    add_item(file, "toolStripMenuItem006", tr("종료"), QKeySequence("Ctrl+Q"),
             tr("apprication exit"));
    connect(file, &QMenu::aboutToShow, this, &Form1::file_menu_opened);

    QMenu* edit = add_menu(nullptr, bar, "toolStripMenuItem_01", tr("편집"));
    add_item(edit, "toolStripMenuItem100", tr("되돌리기   "), QKeySequence("Ctrl+Z"));
    add_item(edit, "toolStripMenuItem101", tr("되돌리기 취소  "), QKeySequence("Ctrl+Shift+Z"));
    edit->addSeparator();
    add_item(edit, "toolStripMenuItem102", tr("클립보드에 복사   "), QKeySequence("Ctrl+C"));

    QMenu* view = add_menu(nullptr, bar, "toolStripMenuItem_02", tr("표시"));
    add_item(view, "toolStripMenuItem200", tr("그리드 표시"), QKeySequence("Ctrl+G"))
        ->setCheckable(true);
    add_item(view, "toolStripMenuItem201", tr("이미지 확대"), QKeySequence("Ctrl+Up"));
    add_item(view, "toolStripMenuItem202", tr("이미지 축소"), QKeySequence("Ctrl+Down"));
    view->addSeparator();
    add_item(view, "toolStripMenuItem203", tr("팔레트 윈도우  "))->setCheckable(true);
    add_menu(view, nullptr, "toolStripMenuItem204", tr("열려 있는 윈도우 "));
    QAction* list_view = add_item(view, "toolStripMenuItem205", tr("リストビュー"));
    list_view->setCheckable(true);
    list_view->setVisible(false);
    add_item(view, "toolStripMenuItem206", tr("AVI 윈도우 "))->setCheckable(true);
    connect(view, &QMenu::aboutToShow, this, &Form1::view_menu_opened);

    QMenu* convert = add_menu(nullptr, bar, "toolStripMenuItem_03", tr("변환"));
    add_item(convert, "toolStripMenuItem390", tr("감색"), QKeySequence("Ctrl+R"));
    add_item(convert, "toolStripMenuItem391", tr("감색 옵션 설정 "));
    convert->addSeparator();
    QMenu* rotate = add_menu(convert, nullptr, "toolStripMenuItem330", tr("회전/반전"));
    add_item(rotate, "toolStripMenuItem301", tr("우로 90°회전 "));
    add_item(rotate, "toolStripMenuItem302", tr("좌로 90°회전 "));
    add_item(rotate, "toolStripMenuItem303", tr("상하 180°반전"));
    add_item(rotate, "toolStripMenuItem304", tr("좌우 180°반전"));
    QMenu* colour = add_menu(convert, nullptr, "toolStripMenuItem331", tr("컬러 변환"));
    add_item(colour, "toolStripMenuItem310", tr("휘도를 알파에 기입  "));
    add_item(colour, "toolStripMenuItem311", tr("알파를 모두 1로 함"));
    add_item(colour, "toolStripMenuItem312", tr("빼는색의알파를 0으로 함"));
    add_item(colour, "toolStripMenuItem313", tr("모노크롬"));
    add_item(colour, "toolStripMenuItem314", tr("반전"));
    add_item(colour, "toolStripMenuItem315", tr("알파 0부에 불투명경계 색상 취득"));
    add_item(colour, "toolStripMenuItem316", tr("[투과대상색]을 백 컬러로 한다"));
    add_item(colour, "toolStripMenuItem317", tr("[투과대상색]을 1팔레트로 이동"));
    convert->addSeparator();
    add_item(convert, "toolStripMenuItem305", tr("ARGB 포맷으로 변환 "));
    add_item(convert, "toolStripMenuItem306", tr("사이즈변경"), QKeySequence("Ctrl+T"));
    add_item(convert, "toolStripMenuItem307", tr("확대/축소"));
    connect(convert, &QMenu::aboutToShow, this, &Form1::convert_menu_opened);

    QMenu* help = add_menu(nullptr, bar, "toolStripMenuItem_10", tr("도움말"));
    add_item(help, "toolStripMenuItem1000", tr("MEVRA에 대해 "));
}

void Form1::file_menu_opened() {
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    findChild<QAction*>("toolStripMenuItem010")->setEnabled(clip && clip->hasImage());
    const bool active = mdichild::check_mdi() != 0;
    for (const char* name : {"toolStripMenuItem001", "toolStripMenuItem002", "toolStripMenuItem003",
                             "toolStripMenuItem004"})
        findChild<QAction*>(name)->setEnabled(active);

    // The ring runs from the next slot to write (the oldest) to the newest.
    QMenu* recent = findChild<QMenu*>("toolStripMenuItem012");
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

void Form1::view_menu_opened() {
    mevra::clgbase& clg = mevra::settings();
    // The setting follows the image looked at last.
    if (mdichild::check_mdi()) clg.grid_mode = mdichild::lastActive->image->grid_mode;
    findChild<QAction*>("toolStripMenuItem200")->setChecked(clg.grid_mode != 0);
    findChild<QAction*>("toolStripMenuItem203")
        ->setChecked(fpalette && fpalette->parentWidget() && fpalette->parentWidget()->isVisible());
    findChild<QAction*>("toolStripMenuItem205")->setChecked(fdiffdlg && fdiffdlg->isVisible());
    findChild<QAction*>("toolStripMenuItem206")->setChecked(faviwindow && faviwindow->isVisible());

    QMenu* windows = findChild<QMenu*>("toolStripMenuItem204");
    windows->clear();
    for (QMdiSubWindow* w : mdi_area_->subWindowList()) {
        const bool is_palette = fpalette && w->widget() == fpalette;
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

void Form1::convert_menu_opened() {
    const bool active = mdichild::check_mdi() != 0;
    findChild<QAction*>("toolStripMenuItem390")->setEnabled(active);
    findChild<QAction*>("toolStripMenuItem305")->setEnabled(active);
}
