#pragma once
// One animated GIF from a run of frames (image files or the frames of an
// AVI): the frames are reduced onto one palette and written with one global
// colour table, looping for ever.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "image/image_info.h"

namespace mevra::cli {

// Loads frame `index` (0 … count - 1) into `img`; false when it could not,
// with the reason already reported.
using frame_loader = std::function<bool(int index, image_info& img)>;

// A palette of at most `target` colours from all frames' colours together.
// False (reason printed) when a frame could not be loaded or the reduction refused.
bool frames_palette(int count, const frame_loader& load, int target,
                    std::vector<uint32_t>& palette);

// Maps every frame onto `palette` with the current dither settings and writes
// the animation to `out` (replacing an existing file only with `overwrite`,
// and only once complete). `delay_cs` is each frame's delay in 1/100 s. All
// frames must have the size of the first. False with the reason printed.
bool write_gif_animation(int count, const frame_loader& load, const std::vector<uint32_t>& palette,
                         int delay_cs, const std::string& out, bool overwrite);

}  // namespace mevra::cli
