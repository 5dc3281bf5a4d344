#include "cli/size_options.h"

#include <vector>

#include "cli/option_values.h"

namespace mevra::cli {
namespace {

std::vector<std::string> split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t at = text.find(sep, start);
        parts.push_back(
            text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

bool parse_size(const std::string& text, clgbase& clg, std::string& error) {
    auto parts = split(text, 'x');
    if (parts.size() != 2) parts = split(text, 'X');
    if (parts.size() != 2 || parts[0].empty() || parts[1].empty()) {
        error = "--size: '" + text + "' is not WIDTHxHEIGHT (e.g. 640x480 or 50%x50%)";
        return false;
    }
    const bool pw = parts[0].back() == '%', ph = parts[1].back() == '%';
    if (pw != ph) {
        error = "--size: give both sides in pixels or both in percent";
        return false;
    }
    if (pw) {
        parts[0].pop_back();
        parts[1].pop_back();
    }
    const int high = pw ? 1000 : 32768;
    if (!parse_int_in("--size width", parts[0], 1, high, clg.trim_1width, error) ||
        !parse_int_in("--size height", parts[1], 1, high, clg.trim_1height, error))
        return false;
    clg.trim_1size_type = pw ? 1 : 0;
    return true;
}

bool parse_place(const std::string& text, clgbase& clg, std::string& error) {
    auto parts = split(text, ',');
    if (parts.size() != 2) {
        error = "--place: '" + text + "' is not HORIZONTAL,VERTICAL (e.g. center,bottom)";
        return false;
    }
    return parse_choice("--place", parts[0], {"left", "center|centre", "right"}, clg.trim_1w_style,
                        error) &&
           parse_choice("--place", parts[1], {"top", "center|centre", "bottom"}, clg.trim_1h_style,
                        error);
}

bool parse_margins(const std::string& text, clgbase& clg, std::string& error) {
    auto parts = split(text, ',');
    int* fields[] = {&clg.trim_2top, &clg.trim_2bottom, &clg.trim_2left, &clg.trim_2right};
    if (parts.size() != 4) {
        error = "--margins: '" + text + "' is not TOP,BOTTOM,LEFT,RIGHT";
        return false;
    }
    for (size_t i = 0; i < 4; ++i)
        if (!parse_int_in("--margins", parts[i], -32768, 32768, *fields[i], error)) return false;
    return true;
}

}  // namespace

void size_options::add_to(CLI::App& cmd) {
    const char* group = "Size (--op resize or --op scale)";
    cmd.add_option("--size", size, "New size WxH in pixels or W%xH% of the current size")
        ->group(group);
    cmd.add_option("--place", place, "Placement on the canvas: left|center|right,top|center|bottom")
        ->group(group);
    cmd.add_flag("--fit", fit, "Scale keeping the aspect ratio so the picture fits in --size")
        ->group(group);
    cmd.add_flag("--cover", cover, "Scale keeping the aspect ratio so the picture covers --size")
        ->group(group);
    cmd.add_option("--margins", margins, "Margins T,B,L,R in pixels (negative values cut)")
        ->group(group);
    cmd.add_option("--multiple", multiple, "pad2|pad4|pad8|pad16|cut2|cut4|cut8|cut16")
        ->group(group);
    cmd.add_option("--pow2", pow2, "Powers of two: rect|square")->group(group);
    cmd.add_option("--pow2-percent", pow2_percent,
                   "Percent 1..1000 applied before --pow2 (default 100)")
        ->group(group);
    cmd.add_flag("--keep-palette", keep_palette, "Scaling keeps an indexed image on its palette")
        ->group(group);
    cmd.add_option("--back-color", back_color, "Back colour AARRGGBB for new canvas areas")
        ->group(group);
}

bool size_options::apply(clgbase& clg, bool sizing, bool scaling, std::string& error) const {
    if (!back_color.empty() && !parse_argb("--back-color", back_color, clg.back_color, error))
        return false;
    const int modes = !size.empty() + !margins.empty() + !multiple.empty() + !pow2.empty();
    const bool any =
        modes || !place.empty() || fit || cover || !pow2_percent.empty() || keep_palette;
    if (!sizing) {
        if (any) error = "size options need --op resize or --op scale";
        return !any;
    }
    if (modes > 1) {
        error = "give only one of --size, --margins, --multiple and --pow2";
        return false;
    }
    if (fit && cover) {
        error = "--fit and --cover exclude each other";
        return false;
    }
    if ((fit || cover) && (!scaling || size.empty())) {
        error = "--fit and --cover need --op scale with --size";
        return false;
    }
    if ((!place.empty()) && (!margins.empty() || !multiple.empty() || !pow2.empty())) {
        error = "--place goes with --size";
        return false;
    }
    if (!pow2_percent.empty() && pow2.empty()) {
        error = "--pow2-percent goes with --pow2";
        return false;
    }
    clg.trim_or_scaling = scaling ? 1 : 0;
    if (keep_palette) clg.trim_palette_reserve = 1;  // else as the settings file has it
    if (!margins.empty()) {
        clg.trim_mode = 1;
        return parse_margins(margins, clg, error);
    }
    if (!multiple.empty()) {
        clg.trim_mode = 2;
        return parse_choice("--multiple", multiple,
                            {"pad2", "pad4", "pad8", "pad16", "cut2", "cut4", "cut8", "cut16"},
                            clg.trim_3mode, error);
    }
    if (!pow2.empty()) {
        clg.trim_mode = 3;
        clg.trim_4size = 100;
        if (!pow2_percent.empty() &&
            !parse_int_in("--pow2-percent", pow2_percent, 1, 1000, clg.trim_4size, error))
            return false;
        return parse_choice("--pow2", pow2, {"rect", "square"}, clg.trim_4mode, error);
    }
    // Size or ratio; without --size the dialog's first values: 100% × 100%, top left.
    clg.trim_mode = 0;
    clg.trim_1size_type = 1;
    clg.trim_1width = clg.trim_1height = 100;
    clg.trim_1w_style = clg.trim_1h_style = 0;
    clg.trim_1kotei_mode = fit ? 1 : (cover ? 2 : 0);
    if (!size.empty() && !parse_size(size, clg, error)) return false;
    return place.empty() || parse_place(place, clg, error);
}

}  // namespace mevra::cli
