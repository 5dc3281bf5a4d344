#include "views/pen_stroke.h"

#include <algorithm>

#include "image/image_info.h"

namespace mevra::views {

std::vector<pen_point> pen_line_points(int x0, int y0, int x1, int y1) {
    std::vector<pen_point> dabs;
    // 64-bit squares: a pointer dragged far off a small zoom can be many
    // thousands of pixels away, and the comparison must not overflow.
    const int64_t dx = int64_t{x1} - x0;
    const int64_t dy = int64_t{y1} - y0;
    if (dx * dx > dy * dy) {
        const float slope = static_cast<float>(dy) / static_cast<float>(dx);
        for (int i = std::min(x0, x1); i <= std::max(x0, x1); ++i) {
            const float row = static_cast<float>(i - x0) * slope + static_cast<float>(y0) + 0.5f;
            dabs.push_back({i, static_cast<int>(row)});
        }
    } else {
        const float slope = dy == 0 ? 0.0f : static_cast<float>(dx) / static_cast<float>(dy);
        for (int j = std::min(y0, y1); j <= std::max(y0, y1); ++j) {
            const float column = static_cast<float>(j - y0) * slope + static_cast<float>(x0) + 0.5f;
            dabs.push_back({slope == 0.0f ? x0 : static_cast<int>(column), j});
        }
    }
    return dabs;
}

void apply_dab(image_info& image, int x, int y, int c, int width, int mode, uint32_t pen_colour) {
    if (width < 0 || width > 2) return;
    const int n = pen_width_tbl[width];
    const int o = pen_offset[width];
    const bool indexed = image.image_type != IMGTYP_RGB;
    const size_t pixels = static_cast<size_t>(image.pixel_count());
    if (indexed ? image.index_buff.size() < pixels : image.argb_buff.size() < pixels) return;
    for (int py = y + o; py < y + o + n; ++py) {
        if (py < 0 || py >= image.height) continue;
        for (int px = x + o; px < x + o + n; ++px) {
            if (px < 0 || px >= image.width) continue;
            const size_t pos = static_cast<size_t>(py) * static_cast<size_t>(image.width) +
                               static_cast<size_t>(px);
            if (indexed) {
                image.index_buff[pos] = c;
                continue;
            }
            uint32_t& pixel = image.argb_buff[pos];
            switch (mode) {
                case 1:
                    pixel = (pixel & 0xFF000000u) | (pen_colour & 0x00FFFFFFu);
                    break;
                case 2:
                    pixel = (pixel & 0x00FFFFFFu) | (pen_colour & 0xFF000000u);
                    break;
                default:
                    pixel = pen_colour;
                    break;
            }
        }
    }
}

}  // namespace mevra::views
