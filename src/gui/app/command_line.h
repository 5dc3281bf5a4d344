#pragma once
// Files named when the program starts: `mevra FILE...`, which is how file
// managers and the desktop entry (Exec=mevra %F) hand images and AVI files
// over.
#include <QStringList>

class main_window;

namespace mevra::gui {

struct command_line_files {
    QStringList existing;  // absolute paths of image files that exist, in order
    QStringList movies;    // absolute paths of existing AVI files, in order
    QStringList missing;   // entries that name no file, as given
};

// True when the file at `path` begins as an AVI file does ("RIFF", a size,
// "AVI "), whatever its name.
bool is_avi_file(const QString& path);

// Sorts the arguments after the program name into images and AVI files to
// open and entries that name no file. A "file://" URL is taken as its local
// path; a lone "--" is skipped, as launchers use it to end options.
command_line_files sort_command_line(const QStringList& arguments);

// Opens the existing images as if they had been dropped on the main window
// and the first AVI file as if dropped on the player's view (showing the
// player), then names the missing entries in one message. Returns the number
// of files opened this way.
int open_command_line(main_window& window, const QStringList& arguments);

}  // namespace mevra::gui
