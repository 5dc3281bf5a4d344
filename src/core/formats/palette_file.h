#pragma once
// Palette files: GIMP (.gpl), JASC-PAL and Microsoft RIFF (.pal), Adobe colour
// tables (.act), plain hex lists (.hex) and PNG images. A palette is a list of
// 1 … 256 ARGB colours in file order; formats without alpha read as opaque.
//
// Reading never changes anything on failure: the caller's list is replaced
// only when the whole file has been taken.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mevra {

enum class palette_file_type { gimp, jasc, riff, act, hex, png };

inline constexpr size_t palette_max_colours = 256;

// Reads a palette file. The type is recognised by content (GIMP, JASC, RIFF,
// PNG and other pictures), an Adobe table by its size of 768 or 772 bytes with
// the extension .act, and a hex list by the extension .hex (or a content of
// nothing but hex colour lines). Returns false with a reason in `error`,
// leaving `colours` untouched.
bool read_palette_file(const std::string& path, std::vector<uint32_t>& colours, std::string& error);
// The same on bytes in memory; `extension` (".act", lower case or not) helps
// where content alone does not tell.
bool read_palette_bytes(std::span<const uint8_t> bytes, const std::string& extension,
                        std::vector<uint32_t>& colours, std::string& error);

// Writes `colours` (1 … 256) safely (temporary file, then rename): an existing
// file is left intact when writing fails.
bool write_palette_file(const std::string& path, palette_file_type type,
                        const std::vector<uint32_t>& colours, std::string& error);
// The bytes of a palette file; false (with a reason) for an empty or oversized
// palette or when the PNG encoder fails.
bool palette_file_bytes(palette_file_type type, const std::vector<uint32_t>& colours,
                        std::vector<uint8_t>& out, std::string& error);

// The distinct colours of true-colour pixels in scan order, as a palette;
// false with a reason when there are none or more than 256.
bool palette_of_pixels(std::span<const uint32_t> argb, std::vector<uint32_t>& colours,
                       std::string& error);

// The type a file name asks for by its extension: .gpl, .pal (JASC-PAL, the
// text form most palette tools exchange), .act, .hex, .png; nothing for others.
std::optional<palette_file_type> palette_type_for_path(const std::string& path);
// The type by name: gpl|gimp, jasc, riff, act, hex, png (ASCII case ignored).
std::optional<palette_file_type> palette_type_from_name(const std::string& name);

}  // namespace mevra
