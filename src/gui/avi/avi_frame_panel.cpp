#include "avi/avi_frame_panel.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

#include "avi/aviwindow.h"

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
    if (event->mimeData()->hasUrls()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void avi_frame_panel::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void avi_frame_panel::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    event->setDropAction(Qt::CopyAction);
    event->accept();
    owner_->open_dropped(paths);
}

void avi_frame_panel::contextMenuEvent(QContextMenuEvent* event) {
    menu_->popup(event->globalPos());
}
