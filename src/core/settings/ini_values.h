#pragma once
// Text pieces of the settings file: splitting into lines and reading the value
// encodings, each strict enough that a damaged value is recognised as such.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mevra::ini {

// The lines of the text after an optional UTF-8 byte-order mark. CR, LF and
// CR LF all end a line; a line end at the very end adds no empty line.
std::vector<std::string_view> split_lines(std::string_view text);

// A decimal 32-bit integer ("-12", "+7", blanks around allowed); nothing for
// any other text, including numbers that do not fit.
std::optional<int> parse_int(std::string_view text);

// A hexadecimal 32-bit value without prefix ("ff00ff00", "0"); either case.
std::optional<uint32_t> parse_hex(std::string_view text);

// A path as stored: taken as it stands unless it holds control characters or
// is longer than `max_length`, which only a damaged file produces.
std::optional<std::string> parse_path(std::string_view text, size_t max_length);

// Lower-case hexadecimal without leading zeros: 0xFF00FF00 -> "ff00ff00", 0 -> "0".
std::string hex_text(uint32_t value);

}  // namespace mevra::ini
