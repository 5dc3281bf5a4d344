#pragma once
// The arithmetic of the image window's two square pens, kept apart from the
// window so that strokes can be checked without a screen.
#include <cstdint>
#include <vector>

namespace mevra {
class image_info;
}

namespace mevra::views {

// Side of the square brush in image pixels, by the width list's index.
inline constexpr int pen_width_tbl[3] = {1, 3, 5};
// Offset of the brush's top-left corner from the stroke point, so that the
// 3- and 5-pixel brushes are centred on it.
inline constexpr int pen_offset[3] = {0, -1, -2};

struct pen_point {
    int x;
    int y;
    bool operator==(const pen_point&) const = default;
};

// The dab positions of one stroke segment from (x0, y0) to (x1, y1), both ends
// included, stepping along the longer axis. The rounding is done in single
// precision so that strokes land on the same pixels on every machine.
std::vector<pen_point> pen_line_points(int x0, int y0, int x1, int y1);

// Paints one dab centred on (x, y); pixels outside the image are skipped.
// Indexed images get the palette index `c` whatever the mode. ARGB images get
// `pen_colour`: mode 0 replaces the pixel, mode 1 takes only red, green and blue,
// mode 2 only the alpha byte.
void apply_dab(image_info& image, int x, int y, int c, int width, int mode, uint32_t pen_colour);

}  // namespace mevra::views
