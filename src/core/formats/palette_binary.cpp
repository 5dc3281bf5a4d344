// Binary palette files: Microsoft RIFF palettes and Adobe colour tables.
#include "formats/palette_codecs.h"
#include "formats/palette_file.h"
#include "platform/byte_reader.h"

namespace mevra::palette_codec {
namespace {

constexpr uint16_t riff_palette_version = 0x0300;
constexpr size_t act_table_bytes = 768;
constexpr size_t act_with_count_bytes = 772;
constexpr uint16_t act_no_transparent = 0xFFFF;

bool tag_is(byte_reader& in, const char* tag) {
    uint8_t b[4];
    in.read(b, 4);
    return b[0] == tag[0] && b[1] == tag[1] && b[2] == tag[2] && b[3] == tag[3];
}

// Byte by byte: GCC 12's buffer analysis at -O3 misreads a ranged insert of
// a string literal into a growing vector as an overflow.
void put_tag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

void put_u16le(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put_u32le(std::vector<uint8_t>& out, uint32_t v) {
    put_u16le(out, v & 0xFFFF);
    put_u16le(out, v >> 16);
}

// The "data" chunk's body: version, count, then red, green, blue and a flags
// byte per entry (the flags are a drawing hint of the system palette and
// carry no colour; they are not kept).
bool parse_riff_data(byte_reader& in, size_t size, std::vector<uint32_t>& out, std::string& error) {
    if (size < 4) {
        error = "the RIFF palette's data chunk is too short";
        return false;
    }
    const uint16_t version = in.u16le();
    const uint16_t count = in.u16le();
    if (version != riff_palette_version) {
        error = "the RIFF palette has version " + std::to_string(version) + ", not 0x0300";
        return false;
    }
    if (count == 0) {
        error = "the palette holds no colours";
        return false;
    }
    if (count > palette_max_colours) {
        error = "the palette has more than 256 colours";
        return false;
    }
    if (size - 4 < size_t{4} * count) {
        error = "the RIFF palette is truncated";
        return false;
    }
    std::vector<uint32_t> colours(count);
    for (auto& c : colours) {
        uint8_t e[4];
        in.read(e, 4);
        c = 0xFF000000u | uint32_t{e[0]} << 16 | uint32_t{e[1]} << 8 | e[2];
    }
    out = std::move(colours);
    return true;
}

}  // namespace

// "RIFF", the form's size, "PAL ", then chunks; the palette is in "data",
// other chunks are skipped. A chunk reaching past the form or the file makes
// the file truncated.
bool parse_riff(std::span<const uint8_t> bytes, std::vector<uint32_t>& out, std::string& error) {
    byte_reader in(bytes);
    const bool riff = tag_is(in, "RIFF");
    const size_t form_size = in.u32le();
    if (!riff || !tag_is(in, "PAL ")) {
        error = "the file is no RIFF palette";
        return false;
    }
    if (in.overran() || form_size < 4 || form_size > bytes.size() - 8) {
        error = "the RIFF palette is truncated";
        return false;
    }
    const size_t form_end = 8 + form_size;
    while (in.tell() + 8 <= form_end) {
        const bool data = tag_is(in, "data");
        const size_t size = in.u32le();
        if (size > form_end - in.tell()) {
            error = "the RIFF palette is truncated";
            return false;
        }
        if (data) return parse_riff_data(in, size, out, error);
        in.skip(size + (size & 1));  // chunks are padded to an even size
    }
    error = "the RIFF palette has no data chunk";
    return false;
}

// 256 entries of red, green and blue; a 772-byte table adds the number of
// entries in use and the index of the transparent one (big-endian, 0xFFFF for
// none). The transparent entry reads with alpha 0.
bool parse_act(std::span<const uint8_t> bytes, std::vector<uint32_t>& out, std::string& error) {
    if (bytes.size() != act_table_bytes && bytes.size() != act_with_count_bytes) {
        error =
            "an Adobe colour table has 768 or 772 bytes, this file " + std::to_string(bytes.size());
        return false;
    }
    size_t count = 256;
    uint32_t transparent = act_no_transparent;
    if (bytes.size() == act_with_count_bytes) {
        count = size_t{bytes[768]} << 8 | bytes[769];
        transparent = uint32_t{bytes[770]} << 8 | bytes[771];
        if (count == 0 || count > palette_max_colours) {
            error = "the colour table's count of " + std::to_string(count) + " is not 1 to 256";
            return false;
        }
        if (transparent != act_no_transparent && transparent >= count) {
            error = "the colour table's transparent index lies outside its colours";
            return false;
        }
    }
    std::vector<uint32_t> colours(count);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t alpha = i == transparent ? 0u : 0xFFu;
        colours[i] = alpha << 24 | uint32_t{bytes[3 * i]} << 16 | uint32_t{bytes[3 * i + 1]} << 8 |
                     bytes[3 * i + 2];
    }
    out = std::move(colours);
    return true;
}

std::vector<uint8_t> riff_bytes(const std::vector<uint32_t>& colours) {
    const uint32_t data_size = 4 + 4 * static_cast<uint32_t>(colours.size());
    std::vector<uint8_t> out;
    put_tag(out, "RIFF");
    put_u32le(out, 4 + 8 + data_size);
    put_tag(out, "PAL ");
    put_tag(out, "data");
    put_u32le(out, data_size);
    put_u16le(out, riff_palette_version);
    put_u16le(out, static_cast<uint32_t>(colours.size()));
    for (uint32_t c : colours) {
        out.push_back(static_cast<uint8_t>(c >> 16));
        out.push_back(static_cast<uint8_t>(c >> 8));
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(0);
    }
    return out;
}

// Always the 772-byte form, so that palettes shorter than 256 keep their
// length; the first entry with alpha 0 becomes the transparent index.
std::vector<uint8_t> act_bytes(const std::vector<uint32_t>& colours) {
    std::vector<uint8_t> out(act_with_count_bytes, 0);
    uint32_t transparent = act_no_transparent;
    for (size_t i = 0; i < colours.size() && i < palette_max_colours; ++i) {
        out[3 * i] = static_cast<uint8_t>(colours[i] >> 16);
        out[3 * i + 1] = static_cast<uint8_t>(colours[i] >> 8);
        out[3 * i + 2] = static_cast<uint8_t>(colours[i]);
        if ((colours[i] >> 24) == 0 && transparent == act_no_transparent)
            transparent = static_cast<uint32_t>(i);
    }
    out[768] = static_cast<uint8_t>(colours.size() >> 8);
    out[769] = static_cast<uint8_t>(colours.size());
    out[770] = static_cast<uint8_t>(transparent >> 8);
    out[771] = static_cast<uint8_t>(transparent);
    return out;
}

}  // namespace mevra::palette_codec
