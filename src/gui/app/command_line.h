#pragma once
// Files named when the program starts: `mevra FILE...`, which is how file
// managers and the desktop entry (Exec=mevra %F) hand images over.
#include <QStringList>

class Form1;

namespace mevra::gui {

struct command_line_files {
    QStringList existing;  // absolute paths of files that exist, in order
    QStringList missing;   // entries that name no file, as given
};

// Sorts the arguments after the program name into files to open and entries
// that name no file. A "file://" URL is taken as its local path; a lone "--"
// is skipped, as launchers use it to end options.
command_line_files sort_command_line(const QStringList& arguments);

// Opens the existing files as if they had been dropped on the main window,
// then names the missing ones in one message. Returns the number of files
// handed to the main window.
int open_command_line(Form1& window, const QStringList& arguments);

}  // namespace mevra::gui
