#include "settings/ini_file.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/file_io.h"
#include "settings/ini_fields.h"
#include "settings/ini_values.h"

namespace mevra {
namespace {

using ini::field;
using ini::field_kind;

std::optional<int> in_range(std::optional<int> value, int low, int high) {
    if (value && *value >= low && *value <= high) return value;
    return std::nullopt;
}

// Stores one value. Whatever the text holds, what reaches `clg` or `layout`
// lies in the field's range: an unusable option value sets the option's
// default, an unusable window value leaves that window as it was created.
void apply_value(const field& f, std::string_view value, clgbase& clg, window_layout& layout) {
    switch (f.kind) {
        case field_kind::version:
            break;  // no version is checked
        case field_kind::option_int:
            clg.*f.number = in_range(ini::parse_int(value), f.low, f.high).value_or(f.fallback);
            break;
        case field_kind::option_colour:
            clg.*f.colour = ini::parse_hex(value).value_or(f.colour_fallback);
            break;
        case field_kind::option_string:
            clg.*f.text = ini::parse_path(value, ini_path_max).value_or(std::string());
            break;
        case field_kind::window_number:
            layout.*f.window.*f.coordinate = in_range(ini::parse_int(value), f.low, f.high);
            break;
        case field_kind::window_visible: {
            const auto number = ini::parse_int(value);
            (layout.*f.window).visible =
                number ? std::optional<bool>(*number != 0) : std::optional<bool>();
            break;
        }
        case field_kind::main_state:
            layout.main_state = in_range(ini::parse_int(value), f.low, f.high);
            break;
        case field_kind::layout_string:
            layout.*f.layout_text = ini::parse_path(value, ini_path_max);
            break;
        case field_kind::recent:
            // An empty value leaves the slot as it is.
            if (auto path = ini::parse_path(value, ini_path_max); path && !path->empty())
                clg.image_last_open_log10[static_cast<size_t>(f.slot)] = *path;
            break;
    }
}

const field* find_field(std::string_view key) {
    for (const field& f : ini::fields())
        if (key == f.key) return &f;
    return nullptr;
}

// A line break inside a value would shift every following pair of the file.
std::string one_line(const std::string& text) {
    return text.find_first_of("\r\n") == std::string::npos ? text : std::string();
}

std::string value_text(const field& f, const clgbase& clg, const window_layout& layout) {
    switch (f.kind) {
        case field_kind::version:
            return "1.0";
        case field_kind::option_int:
            return std::to_string(clg.*f.number);
        case field_kind::option_colour:
            return ini::hex_text(clg.*f.colour);
        case field_kind::option_string:
            return one_line(clg.*f.text);
        case field_kind::window_number:
            return std::to_string((layout.*f.window.*f.coordinate).value_or(f.fallback));
        case field_kind::window_visible:
            return (layout.*f.window).visible.value_or(false) ? "1" : "0";
        case field_kind::main_state:
            return std::to_string(layout.main_state.value_or(f.fallback));
        case field_kind::layout_string:
            return one_line((layout.*f.layout_text).value_or(std::string()));
        case field_kind::recent: {
            const int pos = clg.image_last_open_pos >= 0 && clg.image_last_open_pos < 10
                                ? clg.image_last_open_pos
                                : 0;
            return one_line(clg.image_last_open_log10[static_cast<size_t>((pos + f.slot) % 10)]);
        }
    }
    return {};
}

}  // namespace

window_layout missing_file_layout() {
    window_layout layout;
    layout.main_state = state_maximised;
    layout.palette.visible = false;
    layout.palette.left = 520;
    layout.palette.top = 40;
    layout.option_dialog.left = 64;
    layout.option_dialog.top = 64;
    layout.listview.visible = false;
    layout.avi_player.visible = false;
    return layout;
}

window_layout read_ini_text(std::string_view text, clgbase& clg) {
    window_layout layout;
    // The slots come oldest first, so the next new path belongs in slot 0.
    clg.image_last_open_pos = 0;
    const std::vector<std::string_view> lines = ini::split_lines(text);
    // Pairs are positional: a key line without a value line ends the reading.
    for (size_t i = 0; i + 1 < lines.size(); i += 2)
        if (const field* f = find_field(lines[i])) apply_value(*f, lines[i + 1], clg, layout);
    return layout;
}

ini_read_status read_ini(const std::string& path, clgbase& clg, window_layout& layout,
                         std::string& error) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        layout = missing_file_layout();
        return ini_read_status::missing;
    }
    // A settings file is a few kilobytes; anything this large is not one and
    // is not worth holding in memory.
    constexpr std::uintmax_t largest = 1u << 20;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    std::vector<uint8_t> bytes;
    const bool too_large = !ec && size > largest;
    if (too_large) error = "too large to be a settings file";
    if (too_large || !read_whole_file(path, bytes, error)) {
        layout = missing_file_layout();
        return ini_read_status::unreadable;
    }
    layout = read_ini_text(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), clg);
    return ini_read_status::loaded;
}

std::string write_ini_text(const clgbase& clg, const window_layout& layout) {
    std::string text;
    for (const field& f : ini::fields()) {
        text += f.key;
        text += "\r\n";
        text += value_text(f, clg, layout);
        text += "\r\n";
    }
    return text;
}

bool write_ini(const std::string& path, const clgbase& clg, const window_layout& layout,
               std::string& error) {
    const std::string text = write_ini_text(clg, layout);
    return write_file_atomic(
        path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), error);
}

std::string ini_file_path() {
    return (std::filesystem::path(clgbase::get_clg_app_path()) / "mevra.ini").string();
}

}  // namespace mevra
