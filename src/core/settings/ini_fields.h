#pragma once
// The 60 key / value pairs of the settings file in the order they are written,
// with what each key stores and the range its value is held to on reading.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "settings/clgbase.h"
#include "settings/ini_file.h"

namespace mevra::ini {

enum class field_kind {
    version,         // "Setting File Version": written as "1.0", ignored on reading
    option_int,      // an int of clgbase, low..high, else `fallback`
    option_colour,   // a uint32_t ARGB of clgbase, hexadecimal
    option_string,   // a string of clgbase (a folder)
    window_number,   // a coordinate or size of one window, low..high
    window_visible,  // "1" visible, "0" hidden; any non-zero integer reads as visible
    main_state,      // the main window's state 0..2
    layout_string,   // one of the list-view dialog's folders
    recent,          // recent slot `slot`, oldest first
};

struct field {
    const char* key;
    field_kind kind;
    int low = 0, high = 0;
    int fallback = 0;  // an option's default, or what a missing window value is written as
    int clgbase::*number = nullptr;
    uint32_t clgbase::*colour = nullptr;
    uint32_t colour_fallback = 0;
    std::string clgbase::*text = nullptr;
    placement window_layout::*window = nullptr;
    std::optional<int> placement::*coordinate = nullptr;
    std::optional<std::string> window_layout::*layout_text = nullptr;
    int slot = 0;
};

// All 60 pairs, in file order.
std::span<const field> fields();

}  // namespace mevra::ini
