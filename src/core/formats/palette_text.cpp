// Text palette files: GIMP palettes, JASC-PAL files and plain hex lists.
// Line numbers in messages count from 1 as an editor shows them.
#include <charconv>
#include <cstdio>

#include "formats/palette_codecs.h"
#include "formats/palette_file.h"

namespace mevra::palette_codec {
namespace {

constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Splits the text into lines without their ends and surrounding blanks.
std::vector<std::string_view> lines_of(std::string_view text) {
    if (text.substr(0, byte_order_mark.size()) == byte_order_mark)
        text.remove_prefix(byte_order_mark.size());
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        lines.push_back(trim(text.substr(0, end)));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The next blank-separated word of `s`, removed from it.
std::string_view next_word(std::string_view& s) {
    s = trim(s);
    size_t end = 0;
    while (end < s.size() && !is_blank(s[end]))
        ++end;
    const std::string_view word = s.substr(0, end);
    s.remove_prefix(end);
    return word;
}

bool channel_value(std::string_view word, uint32_t& value) {
    const char* last = word.data() + word.size();
    const auto [end, ec] = std::from_chars(word.data(), last, value);
    return ec == std::errc() && end == last && !word.empty() && value <= 255;
}

// Reads `channels` values 0 … 255 (red, green, blue[, alpha]) from the front
// of `s` into an ARGB colour (opaque without alpha).
bool channels_of(std::string_view& s, int channels, uint32_t& colour) {
    uint32_t v[4] = {0, 0, 0, 255};
    for (int i = 0; i < channels; ++i)
        if (!channel_value(next_word(s), v[i])) return false;
    colour = v[3] << 24 | v[0] << 16 | v[1] << 8 | v[2];
    return true;
}

std::string line_error(size_t line, const char* what) {
    return "line " + std::to_string(line + 1) + ": " + what;
}

bool too_many(size_t count, std::string& error) {
    if (count <= palette_max_colours) return false;
    error = "the palette has more than 256 colours";
    return true;
}

// A palette of no colours is refused; any other is the result.
bool hand_over(std::vector<uint32_t>& colours, std::vector<uint32_t>& out, std::string& error) {
    if (colours.empty()) {
        error = "the palette holds no colours";
        return false;
    }
    out = std::move(colours);
    return true;
}

bool starts_with_word(std::string_view line, std::string_view key) {
    return line.size() >= key.size() && line.substr(0, key.size()) == key;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void append_line(std::string& out, const char* format, uint32_t c, const char* end) {
    char line[64];
    std::snprintf(line, sizeof line, format, (c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
    out += line;
    out += end;
}

}  // namespace

bool text_starts_with(std::string_view text, std::string_view magic) {
    if (text.substr(0, byte_order_mark.size()) == byte_order_mark)
        text.remove_prefix(byte_order_mark.size());
    return text.substr(0, magic.size()) == magic;
}

// "GIMP Palette", then optional "Name:", "Columns:" and "Channels: RGB|RGBA"
// lines, then one colour a line: red, green and blue (and alpha with RGBA)
// as decimal numbers, then an optional name. Lines starting with '#' are
// comments.
bool parse_gimp(std::string_view text, std::vector<uint32_t>& out, std::string& error) {
    const auto lines = lines_of(text);
    if (lines.empty() || lines[0] != "GIMP Palette") {
        error = "the file does not begin with \"GIMP Palette\"";
        return false;
    }
    std::vector<uint32_t> colours;
    int channels = 3;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.empty() || line.front() == '#') continue;
        if (colours.empty() &&
            (starts_with_word(line, "Name:") || starts_with_word(line, "Columns:")))
            continue;
        if (colours.empty() && starts_with_word(line, "Channels:")) {
            const std::string_view kind = trim(line.substr(9));
            if (kind != "RGB" && kind != "RGBA") {
                error = line_error(i, "only RGB and RGBA channels are read");
                return false;
            }
            channels = kind == "RGBA" ? 4 : 3;
            continue;
        }
        uint32_t colour = 0;
        if (!channels_of(line, channels, colour)) {
            error = line_error(i, "expected red, green and blue values 0 to 255");
            return false;
        }
        colours.push_back(colour);
        if (too_many(colours.size(), error)) return false;
    }
    return hand_over(colours, out, error);
}

// "JASC-PAL", "0100", the number of colours, then that many "red green blue"
// lines. Blank lines and lines starting with '#' are skipped, a fourth number
// on a colour line (some tools write alpha there) is ignored, and lines after
// the last colour are not read.
bool parse_jasc(std::string_view text, std::vector<uint32_t>& out, std::string& error) {
    const auto lines = lines_of(text);
    std::vector<std::string_view> useful;
    std::vector<size_t> number;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0 && (lines[i].empty() || lines[i].front() == '#')) continue;
        useful.push_back(lines[i]);
        number.push_back(i);
    }
    if (useful.empty() || useful[0] != "JASC-PAL") {
        error = "the file does not begin with \"JASC-PAL\"";
        return false;
    }
    if (useful.size() < 3) {
        error = "the file ends before the number of colours";
        return false;
    }
    if (useful[1] != "0100") {
        error = line_error(number[1], "only version 0100 is read");
        return false;
    }
    uint32_t count = 0;
    {
        const std::string_view word = useful[2];
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), count);
        if (ec != std::errc() || end != word.data() + word.size()) {
            error = line_error(number[2], "the number of colours is no number");
            return false;
        }
    }
    if (count == 0) {
        error = "the palette holds no colours";
        return false;
    }
    if (too_many(count, error)) return false;
    if (useful.size() - 3 < count) {
        error = "the file is truncated: " + std::to_string(count) + " colours announced, " +
                std::to_string(useful.size() - 3) + " found";
        return false;
    }
    std::vector<uint32_t> colours;
    for (size_t k = 0; k < count; ++k) {
        std::string_view line = useful[3 + k];
        uint32_t colour = 0, alpha = 0;
        if (!channels_of(line, 3, colour)) {
            error = line_error(number[3 + k], "expected red, green and blue values 0 to 255");
            return false;
        }
        const std::string_view rest = trim(line);
        if (!rest.empty() && !(channel_value(rest, alpha))) {
            error = line_error(number[3 + k], "unexpected text after the colour");
            return false;
        }
        colours.push_back(colour);
    }
    out = std::move(colours);
    return true;
}

// One colour a line as six hex digits RRGGBB, with or without a leading '#'.
// Blank lines and lines starting with ';' are skipped.
bool parse_hex(std::string_view text, std::vector<uint32_t>& out, std::string& error) {
    const auto lines = lines_of(text);
    std::vector<uint32_t> colours;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '#') line.remove_prefix(1);
        uint32_t colour = 0xFF000000u;
        bool ok = line.size() == 6;
        for (size_t k = 0; ok && k < 6; ++k) {
            const int d = hex_digit(line[k]);
            ok = d >= 0;
            colour |= static_cast<uint32_t>(d < 0 ? 0 : d) << (20 - 4 * k);
        }
        if (!ok) {
            error = line_error(i, "expected a colour RRGGBB in hex digits");
            return false;
        }
        colours.push_back(colour);
        if (too_many(colours.size(), error)) return false;
    }
    return hand_over(colours, out, error);
}

std::string gimp_text(const std::vector<uint32_t>& colours, const std::string& name) {
    std::string out = "GIMP Palette\nName: " + (name.empty() ? std::string("MEVRA") : name) +
                      "\nColumns: 16\n#\n";
    for (size_t i = 0; i < colours.size(); ++i)
        append_line(out, "%3u %3u %3u\t", colours[i],
                    ("Index " + std::to_string(i) + "\n").c_str());
    return out;
}

std::string jasc_text(const std::vector<uint32_t>& colours) {
    std::string out = "JASC-PAL\r\n0100\r\n" + std::to_string(colours.size()) + "\r\n";
    for (uint32_t c : colours)
        append_line(out, "%u %u %u", c, "\r\n");
    return out;
}

std::string hex_text(const std::vector<uint32_t>& colours) {
    std::string out;
    for (uint32_t c : colours)
        append_line(out, "%02x%02x%02x", c, "\n");
    return out;
}

}  // namespace mevra::palette_codec
