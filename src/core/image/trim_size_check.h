#pragma once
// The guard every resize passes before it allocates: a computed width or height
// of 0 or less, or a picture beyond the size limits, is refused with a message.
#include <algorithm>
#include <climits>
#include <cstdint>

namespace mevra {

// True when new_width × new_height can be built; otherwise tells the user and
// returns false.
bool accept_new_size(long long new_width, long long new_height);

// A size or position worked out in 64 bits, held in an int's range.
inline int saturate_to_int(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

}  // namespace mevra
