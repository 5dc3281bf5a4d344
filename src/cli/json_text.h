#pragma once
#include <string>

namespace mevra::cli {

// A JSON string literal (quoted and escaped) for UTF-8 text.
std::string json_string(const std::string& text);

}  // namespace mevra::cli
