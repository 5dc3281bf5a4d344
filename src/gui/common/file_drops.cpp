#include "common/file_drops.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

bool accept_file_drag(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

QStringList dropped_local_files(const QDropEvent& event) {
    QStringList paths;
    for (const QUrl& url : event.mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}
