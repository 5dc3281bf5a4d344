#pragma once
// Small AVI files made by the tests with the program's own writer: every
// frame shows a pattern that tells which frame it is.
#include <cstdint>
#include <string>
#include <vector>

#include "video/avi_encoders.h"

namespace mevra::test {

// The colour of pixel (x, y) in frame n of the patterned test files.
uint32_t pattern_color(int n, int x, int y);
// The solid colour of frame n in the files for lossy codecs.
uint32_t solid_color(int n);

// A packed bitmap of `bits` (8, 16, 24, 32) holding frame n's pattern (or its
// solid colour), stored bottom-up unless `top_down`.
std::vector<uint8_t> pattern_dib(int n, int width, int height, int bits, bool solid = false,
                                 bool top_down = false);

struct avi_recipe {
    int frames = 10;
    int width = 32;
    int height = 24;
    uint32_t rate = 10;
    uint32_t scale = 1;
    int bits = 24;       // bit count of the frames handed to the writer
    bool solid = false;  // solid colours per frame (for lossy codecs)
    std::vector<int64_t> positions;  // sample position of frame n; empty: n
    avi_encode_options options;
};
// Writes the file; fails the current test on error.
void make_avi(const std::string& path, const avi_recipe& recipe);
avi_recipe raw_recipe(int bits, int frames = 10);
avi_recipe lossy_recipe(const std::string& encoder, int frames, int keyint);

// 64 × 48 frames of solid_color(n) in H.264 with open GOPs: the key frames
// after the first are no IDR pictures, and B-frames that follow one in
// decoding order may be shown before it. False when libx264 is missing.
bool make_open_gop_h264_avi(const std::string& path, int frames, int keyint, int b_frames);

// The expected ARGB value of the pattern after storing it in `bits`.
uint32_t stored_pattern(int n, int x, int y, int bits);

bool close_color(uint32_t a, uint32_t b, int tolerance);

}  // namespace mevra::test
