// Palette files: recognising the type, pictures as palettes, and the safe
// write of every type.
#include "formats/palette_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <unordered_set>

#include "formats/palette_codecs.h"
#include "formats/palette_png.h"
#include "platform/file_io.h"
#include "platform/picture_decoder.h"

namespace mevra {
namespace {

namespace fs = std::filesystem;

// Palette files are small; a picture with at most 256 colours compresses far
// below this, so anything larger is no palette worth reading into memory.
constexpr uintmax_t max_palette_file_bytes = uintmax_t{64} << 20;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string_view as_text(std::span<const uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// An indexed picture gives its colour table; a true-colour one its distinct
// colours in scan order.
bool picture_palette(const decoded_picture& pic, std::vector<uint32_t>& out, std::string& error) {
    if (!pic.indexed()) return palette_of_pixels(pic.argb, out, error);
    out = pic.palette;
    return true;
}

bool read_picture(std::span<const uint8_t> bytes, std::vector<uint32_t>& out, std::string& error) {
    decoded_picture pic;
    std::string reason;
    if (!decode_picture(bytes, pic, reason)) {
        error = "the picture could not be read: " + reason;
        return false;
    }
    const size_t pixels =
        static_cast<size_t>(std::max(pic.width, 0)) * static_cast<size_t>(std::max(pic.height, 0));
    if (pic.indexed() ? (pic.palette.empty() || pic.palette.size() > palette_max_colours)
                      : pic.argb.size() < pixels) {
        error = "the picture is damaged";
        return false;
    }
    return picture_palette(pic, out, error);
}

bool is_png(std::span<const uint8_t> bytes) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return bytes.size() >= 8 && std::equal(signature, signature + 8, bytes.begin());
}

}  // namespace

bool palette_of_pixels(std::span<const uint32_t> argb, std::vector<uint32_t>& colours,
                       std::string& error) {
    std::vector<uint32_t> found;
    std::unordered_set<uint32_t> seen;
    for (uint32_t c : argb) {
        if (!seen.insert(c).second) continue;
        if (found.size() == palette_max_colours) {
            error = "the picture has more than 256 colours";
            return false;
        }
        found.push_back(c);
    }
    if (found.empty()) {
        error = "the picture has no pixels";
        return false;
    }
    colours = std::move(found);
    return true;
}

bool read_palette_bytes(std::span<const uint8_t> bytes, const std::string& extension,
                        std::vector<uint32_t>& colours, std::string& error) {
    using namespace palette_codec;
    const std::string ext = lower(extension);
    const std::string_view text = as_text(bytes);
    if (text_starts_with(text, "GIMP Palette")) return parse_gimp(text, colours, error);
    if (text_starts_with(text, "JASC-PAL")) return parse_jasc(text, colours, error);
    if (text.substr(0, 4) == "RIFF" && text.substr(8, 4) == "PAL ")
        return parse_riff(bytes, colours, error);
    if (ext == ".act") return parse_act(bytes, colours, error);
    if (ext == ".hex") return parse_hex(text, colours, error);
    if (is_png(bytes) || ext == ".png") return read_picture(bytes, colours, error);
    // Last, without a telling extension: a hex list, else any picture.
    std::string hex_error;
    if (parse_hex(text, colours, hex_error)) return true;
    if (read_picture(bytes, colours, error)) return true;
    error =
        "the file is no palette of a type MEVRA reads (GIMP, JASC-PAL, RIFF, Adobe colour "
        "table, hex list, PNG)";
    return false;
}

bool read_palette_file(const std::string& path, std::vector<uint32_t>& colours,
                       std::string& error) {
    std::error_code ec;
    const uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > max_palette_file_bytes) {
        error = "the file is too large for a palette";
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!read_whole_file(path, bytes, error)) return false;
    return read_palette_bytes(bytes, fs::path(path).extension().string(), colours, error);
}

bool palette_file_bytes(palette_file_type type, const std::vector<uint32_t>& colours,
                        std::vector<uint8_t>& out, std::string& error) {
    using namespace palette_codec;
    if (colours.empty() || colours.size() > palette_max_colours) {
        error = "a palette has 1 to 256 colours, this one " + std::to_string(colours.size());
        return false;
    }
    auto text_bytes = [&out](const std::string& text) {
        out.assign(text.begin(), text.end());
        return true;
    };
    switch (type) {
        case palette_file_type::gimp:
            return text_bytes(gimp_text(colours, "MEVRA"));
        case palette_file_type::jasc:
            return text_bytes(jasc_text(colours));
        case palette_file_type::hex:
            return text_bytes(hex_text(colours));
        case palette_file_type::riff:
            out = riff_bytes(colours);
            return true;
        case palette_file_type::act:
            out = act_bytes(colours);
            return true;
        case palette_file_type::png:
            return encode_palette_png(colours, out, error);
    }
    error = "unknown palette type";
    return false;
}

bool write_palette_file(const std::string& path, palette_file_type type,
                        const std::vector<uint32_t>& colours, std::string& error) {
    std::vector<uint8_t> bytes;
    return palette_file_bytes(type, colours, bytes, error) && write_file_atomic(path, bytes, error);
}

std::optional<palette_file_type> palette_type_for_path(const std::string& path) {
    const std::string ext = lower(fs::path(path).extension().string());
    if (ext == ".gpl") return palette_file_type::gimp;
    if (ext == ".pal") return palette_file_type::jasc;
    if (ext == ".act") return palette_file_type::act;
    if (ext == ".hex") return palette_file_type::hex;
    if (ext == ".png") return palette_file_type::png;
    return std::nullopt;
}

std::optional<palette_file_type> palette_type_from_name(const std::string& name) {
    const std::string n = lower(name);
    if (n == "gpl" || n == "gimp") return palette_file_type::gimp;
    if (n == "jasc") return palette_file_type::jasc;
    if (n == "riff") return palette_file_type::riff;
    if (n == "act") return palette_file_type::act;
    if (n == "hex") return palette_file_type::hex;
    if (n == "png") return palette_file_type::png;
    return std::nullopt;
}

}  // namespace mevra
