#pragma once
// The guard every resize passes before it allocates: a computed width or height
// of 0 or less, or a picture beyond the size limits, is refused with a message.
namespace mevra {

// True when new_width × new_height can be built; otherwise tells the user and
// returns false.
bool accept_new_size(long long new_width, long long new_height);

}  // namespace mevra
