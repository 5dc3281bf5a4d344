#include "cli/option_values.h"

#include <cctype>
#include <charconv>
#include <sstream>

namespace mevra::cli {
namespace {

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool whole_number(const std::string& text, long long& out) {
    if (text.empty()) return false;
    const char* begin = text.data();
    const char* end = begin + text.size();
    auto [ptr, ec] = std::from_chars(begin, end, out);
    return ec == std::errc() && ptr == end;
}

}  // namespace

bool parse_int_in(const std::string& option, const std::string& text, int low, int high, int& out,
                  std::string& error) {
    long long v = 0;
    if (!whole_number(text, v) || v < low || v > high) {
        error = option + ": '" + text + "' is not a whole number from " + std::to_string(low) +
                " to " + std::to_string(high);
        return false;
    }
    out = static_cast<int>(v);
    return true;
}

bool parse_choice(const std::string& option, const std::string& text,
                  std::initializer_list<const char*> names, int& out, std::string& error) {
    const std::string want = lower(text);
    int index = 0;
    std::ostringstream listing;
    for (const char* entry : names) {
        std::string aliases = entry;
        listing << (index ? ", " : "") << aliases;
        size_t start = 0;
        while (start <= aliases.size()) {
            size_t bar = aliases.find('|', start);
            std::string name =
                aliases.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
            if (lower(name) == want) {
                out = index;
                return true;
            }
            if (bar == std::string::npos) break;
            start = bar + 1;
        }
        ++index;
    }
    long long v = 0;
    if (whole_number(text, v) && v >= 0 && v < index) {
        out = static_cast<int>(v);
        return true;
    }
    error = option + ": '" + text + "' is not one of " + listing.str() + " (or 0.." +
            std::to_string(index - 1) + ")";
    return false;
}

bool parse_argb(const std::string& option, const std::string& text, uint32_t& out,
                std::string& error) {
    std::string digits = text;
    if (!digits.empty() && digits[0] == '#')
        digits.erase(0, 1);
    else if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits.erase(0, 2);
    bool ok = digits.size() == 8;
    for (char c : digits)
        ok = ok && std::isxdigit(static_cast<unsigned char>(c));
    if (!ok) {
        error = option + ": '" + text + "' is not a colour AARRGGBB (eight hexadecimal digits)";
        return false;
    }
    out = static_cast<uint32_t>(std::stoul(digits, nullptr, 16));
    return true;
}

}  // namespace mevra::cli
