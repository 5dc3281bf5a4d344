#pragma once
#include <string>

namespace mevra {

// The text shown when a file cannot be opened: the path, a line break, the
// fixed message and the decoder's own reason.
std::string load_failure_text(const std::string& path, const std::string& reason);

}  // namespace mevra
