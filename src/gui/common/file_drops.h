#pragma once
// Files dragged in from a file manager, as the main window, the player's
// view and the batch list take them.
#include <QStringList>

class QDropEvent;

// Accepts a drag (enter, move or drop; the enter and move events are drop
// events too) as a copy when it carries file locations; true if it does.
bool accept_file_drag(QDropEvent* event);

// The local paths among the dropped locations, in their order.
QStringList dropped_local_files(const QDropEvent& event);
