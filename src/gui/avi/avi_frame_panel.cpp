#include "avi/avi_frame_panel.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QPainter>

#include "common/file_drops.h"

avi_frame_panel::avi_frame_panel(QWidget* parent) : QWidget(parent), menu_(new QMenu(this)) {
    setObjectName("frame_panel");
    setToolTip("view panel");
    setAccessibleName(toolTip());
    setAcceptDrops(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    menu_->setObjectName("context_menu");
    QAction* save = menu_->addAction(tr("AVIを保存"));
    save->setObjectName("aviSaveMenuItem");
    QAction* close = menu_->addAction(tr("閉じる"));
    close->setObjectName("aviCloseMenuItem");
    connect(save, &QAction::triggered, this, &avi_frame_panel::save_requested);
    connect(close, &QAction::triggered, this, &avi_frame_panel::close_requested);
}

void avi_frame_panel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    emit paint_requested(&painter, width(), height());
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
    emit files_dropped(paths);
}

void avi_frame_panel::contextMenuEvent(QContextMenuEvent* event) {
    menu_->popup(event->globalPos());
}
