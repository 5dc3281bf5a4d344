#pragma once
// Parsing of option values that name a choice or a colour. Every parser
// returns false with a message naming the option when the value is not valid;
// nothing is clamped silently.
#include <cstdint>
#include <initializer_list>
#include <string>

namespace mevra::cli {

// A whole number in [low, high].
bool parse_int_in(const std::string& option, const std::string& text, int low, int high, int& out,
                  std::string& error);

// One of `names` (matched without regard to case; aliases share an index by
// appearing as "a|b"), or its index given as a number.
bool parse_choice(const std::string& option, const std::string& text,
                  std::initializer_list<const char*> names, int& out, std::string& error);

// Eight hexadecimal digits AARRGGBB (an optional leading '#' or "0x" is accepted).
bool parse_argb(const std::string& option, const std::string& text, uint32_t& out,
                std::string& error);

}  // namespace mevra::cli
