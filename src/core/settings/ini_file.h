#pragma once
// The settings file mevra.ini: key line / value line pairs holding the options
// of clgbase, the placement of the main window and four auxiliary windows, the
// list-view dialog's two folders and the ten recent files.
//
// This is the plain-data half. The main window turns a window_layout into real
// window geometry when it starts and collects one from its windows at a
// confirmed exit; reading and writing the file never touch a window.
#include <optional>
#include <string>
#include <string_view>

#include "settings/clgbase.h"

namespace mevra {

// Where one window stands. A field without a value means "leave the window as
// it was created": the key was missing from the file or its value was unusable.
// Left/top of the palette and AVI windows are relative to the main window's
// client area; the other windows are placed on the screen.
struct placement {
    std::optional<int> left, top, width, height;
    std::optional<bool> visible;

    bool operator==(const placement&) const = default;
};

// Main window state as stored: 0 normal, 1 minimised, 2 maximised.
enum main_window_state : int { state_normal = 0, state_minimised = 1, state_maximised = 2 };

struct window_layout {
    // Normal (restore) bounds of the main window; its state is kept apart so
    // that a maximised window comes back maximised over the same restore bounds.
    placement main_window;
    std::optional<int> main_state;
    placement palette;        // left, top, visible
    placement listview;       // left, top, visible
    placement avi_player;     // left, top, width, height, visible
    placement option_dialog;  // left, top (the colour-reduction options dialog)
    std::optional<std::string> listview_path1, listview_path2;

    bool operator==(const window_layout&) const = default;
};

// The placements used when there is no settings file: the main window
// maximised, the palette hidden at 520, 40, the options dialog at 64, 64 on the
// screen, the list-view dialog and the AVI player hidden.
window_layout missing_file_layout();

// Ranges a stored window coordinate and size are held to on reading.
inline constexpr int ini_coordinate_min = -32768;
inline constexpr int ini_coordinate_max = 32767;
inline constexpr int ini_size_max = 32767;
// Longest folder or file path taken from the file.
inline constexpr size_t ini_path_max = 4096;

// Reads settings text: every known option found is held to its range (an
// unusable value sets the option's default) and stored in `clg`; the recent
// slots are filled oldest first and image_last_open_pos is set to 0. Options
// not in the text keep their values. Returns the placements found.
window_layout read_ini_text(std::string_view text, clgbase& clg);

enum class ini_read_status {
    loaded,      // the file was read
    missing,     // no file: the missing-file layout, options untouched
    unreadable,  // the file exists but could not be read (reason in `error`):
                 // treated like a missing file
};

// Reads the settings file at `path` into `clg` and `layout`.
ini_read_status read_ini(const std::string& path, clgbase& clg, window_layout& layout,
                         std::string& error);

// The 60 pairs as written: UTF-8 without byte-order mark, CR LF after every
// line. Layout fields without a value are written with the missing-file
// placements (and 0, 0, 645 x 422 for the main window's bounds, 515 x 257 for
// the AVI player). A string that holds a line break cannot be stored in this
// format and is written as an empty line.
std::string write_ini_text(const clgbase& clg, const window_layout& layout);

// Writes the settings file through a temporary file and a rename, so a failure
// (no permission, full disc) leaves the previous file whole. Returns false with
// the reason; the caller decides whether to tell the user.
bool write_ini(const std::string& path, const clgbase& clg, const window_layout& layout,
               std::string& error);

// The settings file's path: mevra.ini in clgbase::get_clg_app_path().
std::string ini_file_path();

}  // namespace mevra
