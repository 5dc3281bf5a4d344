#include "settings/ini_values.h"

#include <charconv>
#include <cstdio>
#include <limits>

namespace mevra::ini {
namespace {

std::string_view trim_blanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::vector<std::string_view> split_lines(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

std::optional<int> parse_int(std::string_view text) {
    text = trim_blanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    int value = 0;
    const char* end = text.data() + text.size();
    auto [stop, err] = std::from_chars(text.data(), end, value, 10);
    if (text.empty() || err != std::errc{} || stop != end) return std::nullopt;
    return value;
}

std::optional<uint32_t> parse_hex(std::string_view text) {
    text = trim_blanks(text);
    // from_chars would take a leading minus; a colour never has one.
    if (text.empty() || text.front() == '-') return std::nullopt;
    uint32_t value = 0;
    const char* end = text.data() + text.size();
    auto [stop, err] = std::from_chars(text.data(), end, value, 16);
    if (err != std::errc{} || stop != end) return std::nullopt;
    return value;
}

std::optional<std::string> parse_path(std::string_view text, size_t max_length) {
    if (text.size() > max_length) return std::nullopt;
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return std::nullopt;
    return std::string(text);
}

std::string hex_text(uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%x", static_cast<unsigned>(value));
    return buffer;
}

}  // namespace mevra::ini
