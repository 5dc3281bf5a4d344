#pragma once
// The main window's side of the settings file: the two steps around reading
// and writing it with the windows it places, kept apart from main_window so the
// main window's own file stays about its window.
#include <string>

#include "app/ini_layout.h"

namespace mevra::gui {

// Reads the settings file into the settings object and places `windows`.
// A missing file gives the start-up placements (maximised, palette hidden);
// a file that cannot be read is noted on the debug output and treated alike.
// Returns the layout read, whose list-view folders the caller hands on.
window_layout load_settings_file(const layout_windows& windows);

// Writes the settings file with the current options and the placements of
// `windows` plus the list-view folders in `layout_extra`. A failure is told
// to the user once and returns false; it never stops the program from ending.
bool save_settings_file(const layout_windows& windows, const window_layout& layout_extra);

}  // namespace mevra::gui
