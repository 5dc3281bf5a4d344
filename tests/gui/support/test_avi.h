#pragma once
// A small AVI file for the player's tests: six 8 × 6 frames at 10 frames per
// second, each one solid colour, stored as uncompressed 24-bit frames.
#include <cstdint>
#include <string>

namespace mevra::test {

inline constexpr int test_avi_frames = 6;
inline constexpr int test_avi_width = 8;
inline constexpr int test_avi_height = 6;

// The colour of every pixel of frame n.
uint32_t test_avi_colour(int n);

// Writes the file; fails the running test when it cannot.
void write_test_avi(const std::string& path);

}  // namespace mevra::test
