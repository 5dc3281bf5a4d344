// The renderer works row by row. A frame is first planned: the source column of
// every canvas column and the source row of every canvas row (computed once,
// with the single-precision 1 / zoom of the mouse mapping, so a pixel on screen
// is the pixel the mouse reports there), the rows and columns that carry grid
// lines, and for indexed images the colour table already in stored form. Each
// canvas row then converts its source row once (consecutive canvas rows that
// show the same image row reuse it), blends it over the tile row and blends its
// grid lines. Rows are independent, so a large canvas is split between two
// threads with the same result.
//
// Pixel-centre convention: canvas pixel (x, y) covers [x, x + 1) x [y, y + 1)
// with y growing downwards and its centre at (x + 0.5, y + 0.5). A grid line at
// canvas coordinate y lies on the top edge of pixel row floor(y) and lights that
// row; a vertical line at x lights column floor(x). The GL canvas this picture
// replaces has its origin at the bottom-left and draws the line for y at height
// H - y, which lights the same screen row; a line at y == H (or x == W) is just
// outside the canvas and draws nothing. The background tile is sampled at pixel
// centres at screen scale, i.e. pixel (x, y) shows tile texel (x mod 64, y mod 64).
#include "render/canvas_renderer.h"
#include "platform/thread_start.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

#include "image/image_info.h"
#include "render/canvas_blend.h"
#include "settings/clgbase.h"

namespace mevra {
namespace {

using render_detail::blend_pixel;
using render_detail::blend_row;
using render_detail::blend_span;
using render_detail::stored_pixel;

constexpr int tile_side = background_tile_side;
// Below this many canvas pixels a second thread costs more than it saves.
constexpr int64_t split_threshold = 160 * 1024;

const uint32_t* black_tile() {
    static const std::vector<uint32_t> tile(tile_side * tile_side, 0xFF000000u);
    return tile.data();
}

struct vertical_line {
    int column;
    int bold;
};

// Per-channel results of blending one grid colour over any destination value:
// the blend of a constant source is a function of each destination channel.
struct grid_lut {
    uint8_t channel[3][256];

    void build(int draw_type, uint32_t colour) {
        for (uint32_t d = 0; d < 256; ++d) {
            const uint32_t v = blend_pixel(draw_type, colour, d << 16 | d << 8 | d);
            for (int c = 0; c < 3; ++c)
                channel[c][d] = static_cast<uint8_t>(v >> (8 * c));
        }
    }
    uint32_t apply(uint32_t d) const {
        return 0xFF000000u | uint32_t{channel[2][d >> 16 & 0xFF]} << 16 |
               uint32_t{channel[1][d >> 8 & 0xFF]} << 8 | channel[0][d & 0xFF];
    }
};

struct frame_plan {
    int width = 0, height = 0;  // canvas
    int draw_type = 0;
    const uint32_t* tile = nullptr;
    bool has_pixels = false;
    int image_width = 0;
    const uint32_t* argb = nullptr;  // ARGB source, or
    const int32_t* index = nullptr;  // indexed source through `palette`
    std::vector<uint32_t> palette;   // colour table in stored form
    uint32_t outside = 0;            // stored value beyond the frame (player)
    std::vector<int> column;         // source column per canvas column
    std::vector<int> row;            // source row per canvas row, -1 beyond the frame
    int image_columns = 0;           // canvas columns that show the image
    // Grid.
    std::vector<int8_t> horizontal;  // per canvas row: -1 none, 0 plain, 1 bold
    std::vector<vertical_line> vertical;
    int horizontal_span = 0;  // columns a horizontal line covers
    int vertical_span = 0;    // rows a vertical line covers
    uint32_t line_colour[2] = {grid_plain_color, grid_bold_color};
    grid_lut lut[2];
};

bool image_has_pixels(const image_info& image) {
    if (image.width <= 0 || image.height <= 0) return false;
    const auto n = static_cast<size_t>(image.pixel_count());
    if (image.image_type == IMGTYP_RGB) return image.argb_buff.size() >= n;
    if (image.image_type != IMGTYP_256 && image.image_type != IMGTYP_16) return false;
    return image.index_buff.size() >= n;
}

float inverse_zoom(int zoom_level) {
    return 1.0f / clgbase::zoom_table[std::clamp(zoom_level, 0, clgbase::zoom_table_len - 1)];
}

// (c + scroll) * inv truncated toward zero, saturated to the int range.
int scaled_coordinate(int c, int scroll, float inv) {
    const float f = static_cast<float>(int64_t{c} + scroll) * inv;
    if (!(f >= -2147483648.0f)) return INT_MIN;
    if (!(f < 2147483648.0f)) return INT_MAX;
    return static_cast<int>(f);
}

// Source coordinate of canvas coordinate `c` scrolled by `scroll`: truncated
// toward zero and clamped to the image.
int source_coordinate(int c, int scroll, float inv, int size) {
    return std::clamp(scaled_coordinate(c, scroll, inv), 0, size - 1);
}

// The canvas rows (or columns) that carry grid lines: image rows 0, s, 2s, ...
// below `size`, at canvas coordinate r * z - scroll; `kind` receives 0 or 1.
template <class F>
void grid_positions(int size, int scroll, float z, int s, int b, int limit, F&& put) {
    const bool plain_on = static_cast<float>(s) * z >= 3.0f;
    const bool bold_on = static_cast<float>(b) * z >= 4.0f;
    if (!plain_on && !bold_on) return;
    for (int r = 0; r < size; r += s) {
        const bool bold = r % b == 0;
        if (bold ? !bold_on : !plain_on) continue;
        const float p = static_cast<float>(r) * z - static_cast<float>(scroll);
        if (p < 0.0f) continue;
        if (p >= static_cast<float>(limit)) break;  // p == limit is just outside
        put(static_cast<int>(p), bold ? 1 : 0);
    }
}

void plan_frame(const image_info& image, const canvas_view& view, bool player, frame_plan& p) {
    p.width = view.width;
    p.height = view.height;
    p.draw_type = std::clamp(view.draw_type, 0, 4);
    p.tile = view.tile ? view.tile : black_tile();
    const int level = std::clamp(view.zoom_level, 0, clgbase::zoom_table_len - 1);
    const float z = clgbase::zoom_table[level];
    const float inv = inverse_zoom(level);
    const int sx = player ? 0 : view.scroll_x;
    const int sy = player ? 0 : view.scroll_y;
    const int dt = p.draw_type;
    const uint32_t opaque = dt == 1 || dt == 2 ? 0xFF000000u : 0u;

    p.has_pixels = image_has_pixels(image);
    p.outside = player_outside_color;
    int iw = 0, ih = 0;
    if (p.has_pixels) {
        iw = image.width;
        ih = image.height;
        p.image_width = iw;
        if (image.image_type == IMGTYP_RGB) {
            p.argb = image.argb_buff.data();
        } else {
            p.index = image.index_buff.data();
            p.palette.resize(image.color.size());
            for (size_t i = 0; i < image.color.size(); ++i)
                p.palette[i] = stored_pixel(dt, image.color[i]) | opaque;
        }
    }

    // Which canvas columns and rows show the image. The image window's canvas is
    // never larger than the zoomed image, and any excess shows the edge pixels;
    // the player's view is larger and shows light grey beyond the frame.
    int columns = p.width, rows = p.height;
    if (player || !p.has_pixels) {
        // Canvas x shows the frame while x < frame width * zoom.
        columns = static_cast<int>(std::min<int64_t>(
            p.width, static_cast<int64_t>(std::ceil(static_cast<float>(iw) * z))));
        rows = static_cast<int>(std::min<int64_t>(
            p.height, static_cast<int64_t>(std::ceil(static_cast<float>(ih) * z))));
    }
    p.image_columns = columns;
    p.column.assign(static_cast<size_t>(p.width), 0);
    p.row.assign(static_cast<size_t>(p.height), -1);
    for (int x = 0; x < columns; ++x)
        p.column[x] = source_coordinate(x, sx, inv, iw);
    for (int y = 0; y < rows; ++y)
        p.row[y] = source_coordinate(y, sy, inv, ih);

    p.horizontal.assign(static_cast<size_t>(p.height), -1);
    p.vertical.clear();
    if (view.grid_mode && p.has_pixels) {
        const int gt = std::clamp(view.grid_type, 0, grid_type_count - 1);
        const int s = plus_ofs[gt], b = bold_size[gt];
        grid_positions(ih, sy, z, s, b, p.height,
                       [&](int y, int kind) { p.horizontal[y] = static_cast<int8_t>(kind); });
        grid_positions(iw, sx, z, s, b, p.width, [&](int x, int kind) {
            p.vertical.push_back({x, kind});
        });
        p.horizontal_span = columns;
        p.vertical_span = rows;
        for (int k = 0; k < 2; ++k)
            p.lut[k].build(dt, p.line_colour[k]);
    }
}

// The stored values of canvas row `y`'s image pixels (before blending).
void convert_row(const frame_plan& p, int source_row, uint32_t* row) {
    const int w = p.width;
    const int cols = source_row < 0 ? 0 : p.image_columns;
    const int* column = p.column.data();
    if (cols > 0 && p.argb) {
        const uint32_t* src = p.argb + static_cast<size_t>(source_row) * p.image_width;
        if (p.draw_type == 2) {
            for (int x = 0; x < cols; ++x)
                row[x] = stored_pixel(2, src[column[x]]) | 0xFF000000u;
        } else if (p.draw_type == 1) {
            for (int x = 0; x < cols; ++x)
                row[x] = src[column[x]] | 0xFF000000u;
        } else {
            for (int x = 0; x < cols; ++x)
                row[x] = src[column[x]];
        }
    } else if (cols > 0) {
        const int32_t* src = p.index + static_cast<size_t>(source_row) * p.image_width;
        const uint32_t* pal = p.palette.data();
        const auto n = static_cast<uint32_t>(p.palette.size());
        // An index beyond the colour table shows colour 0 (transparent black).
        const uint32_t missing = stored_pixel(p.draw_type, 0) |
                                 (p.draw_type == 1 || p.draw_type == 2 ? 0xFF000000u : 0u);
        for (int x = 0; x < cols; ++x) {
            const auto i = static_cast<uint32_t>(src[column[x]]);
            row[x] = i < n ? pal[i] : missing;
        }
    }
    std::fill(row + cols, row + w, p.outside);
}

void draw_grid_row(const frame_plan& p, int y, uint32_t* out) {
    const int kind = p.horizontal[y];
    if (kind >= 0) blend_span(p.draw_type, p.line_colour[kind], out, p.horizontal_span);
    if (y >= p.vertical_span) return;
    for (const vertical_line& v : p.vertical)
        out[v.column] = p.lut[v.bold].apply(out[v.column]);
}

// Draws canvas rows y0 .. y1 - 1; `row` is scratch space for one canvas row.
void render_rows(const frame_plan& p, int y0, int y1, uint32_t* row, uint32_t* out) {
    const int w = p.width;
    const bool over_tile = p.draw_type == 0 || p.draw_type == 3 || p.draw_type == 4;
    int cached = INT_MIN;
    for (int y = y0; y < y1; ++y) {
        uint32_t* o = out + static_cast<size_t>(y) * w;
        if (p.row[y] != cached) {
            convert_row(p, p.row[y], row);
            cached = p.row[y];
        }
        if (over_tile) {
            const uint32_t* tile_row = p.tile + (y % tile_side) * tile_side;
            for (int x = 0; x < w; x += tile_side)
                blend_row(p.draw_type, row + x, tile_row, o + x, std::min(tile_side, w - x));
        } else {
            std::memcpy(o, row, static_cast<size_t>(w) * sizeof(uint32_t));
        }
        draw_grid_row(p, y, o);
    }
}

void render(const image_info& image, const canvas_view& view, bool player, uint32_t* out) {
    if (!out || view.width <= 0 || view.height <= 0) return;
    frame_plan p;
    plan_frame(image, view, player, p);
    if (!p.has_pixels && !player) {
        // Nothing to show: the background alone (black where the mode has none).
        const bool over_tile = p.draw_type == 0 || p.draw_type == 3 || p.draw_type == 4;
        for (int y = 0; y < p.height; ++y) {
            uint32_t* o = out + static_cast<size_t>(y) * p.width;
            for (int x = 0; x < p.width; ++x)
                o[x] = over_tile ? p.tile[(y % tile_side) * tile_side + x % tile_side] | 0xFF000000u
                                 : 0xFF000000u;
        }
        return;
    }
    // Scratch rows are allocated up front so that drawing itself cannot throw
    // while a helper thread is running.
    std::vector<uint32_t> scratch(2 * static_cast<size_t>(p.width));
    const int64_t area = int64_t{p.width} * p.height;
    if (view.threads != 1 && area >= split_threshold && p.height >= 2) {
        const int half = p.height / 2;
        std::thread helper;
        // Without a second thread everything is drawn here.
        if (start_thread(helper, render_rows, std::cref(p), half, p.height,
                         scratch.data() + p.width, out)) {
            render_rows(p, 0, half, scratch.data(), out);
            helper.join();
            return;
        }
    }
    render_rows(p, 0, p.height, scratch.data(), out);
}

}  // namespace

int canvas_to_image(int c, int scroll, int zoom_level) {
    return scaled_coordinate(c, scroll, inverse_zoom(zoom_level));
}

void render_canvas(const image_info& image, const canvas_view& view, uint32_t* out) {
    render(image, view, false, out);
}

void render_player_frame(const image_info& frame, const canvas_view& view, uint32_t* out) {
    render(frame, view, true, out);
}

}  // namespace mevra
