#pragma once
// Optional refinement of a reduced palette before mapping: Lloyd (k-means)
// iterations over the exact census colours, weighted by their pixel counts, in
// the (A, Y, Cb, Cr) space with the squared distance of the mapping. Every
// pass assigns each colour to its nearest entry and moves each free entry to
// the mean of its colours (red, green and blue weighted by alpha as well);
// entries fixed by the key-colour rules never move, an entry left without
// colours takes the colour of largest weighted error, and the passes stop
// early once no entry moves. Before the means, a pass tries to give up the
// free entries that cost least for splits of those of largest error, and
// keeps the moves only if they lower the error, so no pass makes the palette
// worse. The result is the same for any number of threads.
#include <cstdint>
#include <span>
#include <vector>

#include "reduce/color_space.h"

namespace mevra {

class image_info;

struct refinement_census {
    std::span<const uint32_t> colours;  // ARGB
    std::span<const int32_t> counts;    // pixels of each colour; 0 is skipped
    // Colours that belong to a fixed entry (key colours): neither assigned nor averaged.
    std::span<const uint8_t> key;  // empty: none
};

// Runs up to `passes` passes on `centres` (all of them searched; those with
// fixed[e] != 0 stay). Returns the number of passes run.
int refine_centres(std::vector<wxyz>& centres, const std::vector<uint8_t>& fixed,
                   const refinement_census& census, int passes, unsigned threads);

// Sum over the census of count × squared distance to the nearest centre
// (key colours left out), in double: what the passes lower.
double refinement_error(const std::vector<wxyz>& centres, const refinement_census& census);

// Refines the centres of the groups left by the clustering against the
// image's colour table, with the setting's pass count and worker threads.
// At most max_refine_passes passes run.
inline constexpr int max_refine_passes = 16;
void refine_reduction_palette(const image_info& img, int passes);

}  // namespace mevra
