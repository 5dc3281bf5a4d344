#include "avi/avi_frame_panel.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QPainter>

#include "avi/aviwindow.h"
#include "common/file_drops.h"

avi_frame_panel::avi_frame_panel(aviwindow* owner, QWidget* parent)
    : QWidget(parent), owner_(owner), menu_(new QMenu(this)) {
    setObjectName("panel1");
    setToolTip("view panel");
    setAcceptDrops(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    menu_->setObjectName("contextMenuStrip1");
    QAction* save = menu_->addAction("AVIを保存");
    save->setObjectName("aviSaveMenuItem");
    QAction* close = menu_->addAction("閉じる");
    close->setObjectName("aviCloseMenuItem");
    connect(save, &QAction::triggered, this, [this] { owner_->save_command(); });
    connect(close, &QAction::triggered, this, [this] { owner_->close_command(); });
}

void avi_frame_panel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    owner_->paint_view(painter, width(), height());
}

void avi_frame_panel::dragEnterEvent(QDragEnterEvent* event) {
    accept_file_drag(event);
}

void avi_frame_panel::dragMoveEvent(QDragMoveEvent* event) {
    accept_file_drag(event);
}

void avi_frame_panel::dropEvent(QDropEvent* event) {
    const QStringList paths = dropped_local_files(*event);
    event->setDropAction(Qt::CopyAction);
    event->accept();
    owner_->open_dropped(paths);
}

void avi_frame_panel::contextMenuEvent(QContextMenuEvent* event) {
    menu_->popup(event->globalPos());
}
