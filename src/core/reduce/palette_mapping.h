#pragma once
// Reduction onto a palette given from outside (a palette file, or one palette
// shared by several images): no grouping or merging, only the mapping of
// every pixel onto the given entries with the current dither settings, by the
// same distance and rules as the mapping that ends a reduction.
#include <cstdint>
#include <vector>

namespace mevra {

class image_info;

// Maps the image onto `palette` (1 … 256 colours). The result is indexed with
// exactly these colours in this order (color_num = palette size; 16 or fewer
// give IMGTYP_16). Works on ARGB and on indexed images. 0 when done; -1 for
// an empty image or a palette of no or more than 256 colours (image unchanged).
int map_to_palette(image_info& img, const std::vector<uint32_t>& palette);

// Puts `palette` (1 … 256 colours) in place of an indexed image's colour
// table, entry for entry; the pixels keep their indices. Entries past the
// palette that pixels still use keep their old colours, so that no pixel
// points at a missing entry; color_num becomes the larger of the palette's
// size and the highest used index + 1, and a 16-colour image with more
// entries than 16 becomes a 256-colour one. 0 when done, -1 for an image that
// is not indexed or an unusable palette (image unchanged).
int replace_palette(image_info& img, const std::vector<uint32_t>& palette);

// The palette a reduction maps onto instead of building its own; empty (the
// default) lets each reduction build one. Program-wide like the reduction
// state: the command line and the batch set it for a run.
std::vector<uint32_t>& fixed_reduction_palette();

// The colours of an indexed image's table in use: entries 0 … color_num - 1.
std::vector<uint32_t> palette_of(const image_info& img);

}  // namespace mevra
