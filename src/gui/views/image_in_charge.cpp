#include "views/image_in_charge.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "views/image_window.h"
#include "views/tool_palette.h"

image_in_charge& image_in_charge::of(QMdiArea& area) {
    auto* record = area.findChild<image_in_charge*>(QString(), Qt::FindDirectChildrenOnly);
    return record ? *record : *new image_in_charge(area);
}

image_in_charge::image_in_charge(QMdiArea& area) : QObject(&area) {
    connect(&area, &QMdiArea::subWindowActivated, this, &image_in_charge::activated);
}

void image_in_charge::activated(QMdiSubWindow* subwindow) {
    if (!subwindow || dynamic_cast<tool_palette*>(subwindow->widget())) return;
    window_ = qobject_cast<image_window*>(subwindow);
}
