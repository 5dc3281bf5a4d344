#pragma once
// The per-type halves of the palette file reader and writer (palette_file.cpp
// chooses among them). Parsers fill `out` only on success.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mevra::palette_codec {

// Text types (palette_text.cpp): UTF-8 with or without a byte-order mark,
// LF or CR LF line ends, blanks at line ends ignored.
bool parse_gimp(std::string_view text, std::vector<uint32_t>& out, std::string& error);
bool parse_jasc(std::string_view text, std::vector<uint32_t>& out, std::string& error);
bool parse_hex(std::string_view text, std::vector<uint32_t>& out, std::string& error);
std::string gimp_text(const std::vector<uint32_t>& colours, const std::string& name);
std::string jasc_text(const std::vector<uint32_t>& colours);
std::string hex_text(const std::vector<uint32_t>& colours);

// Binary types (palette_binary.cpp).
bool parse_riff(std::span<const uint8_t> bytes, std::vector<uint32_t>& out, std::string& error);
bool parse_act(std::span<const uint8_t> bytes, std::vector<uint32_t>& out, std::string& error);
std::vector<uint8_t> riff_bytes(const std::vector<uint32_t>& colours);
std::vector<uint8_t> act_bytes(const std::vector<uint32_t>& colours);

// True when the text begins with `magic` (after a byte-order mark).
bool text_starts_with(std::string_view text, std::string_view magic);

}  // namespace mevra::palette_codec
