#pragma once
// The canvas renderer: draws the visible part of an image as the image window
// and the AVI player show it (zoom, scroll, display mode, pixel grid, background
// tile) into a plain 0xAARRGGBB buffer that the GUI only has to blit.
//
// The picture is the one a double-buffered RGBA OpenGL canvas would show: the
// background tile at screen scale, the image pixels blended over it with the
// display mode's factors, then the grid lines blended with the same factors.
// Every blend is done on 8-bit channels as result = src * sf + dst * df with
// the factors taken as n / 255, rounded to the nearest integer and clamped to
// 0..255 (the exact value is never halfway, so there is no tie rule).
// The alpha byte of every output pixel is 0xFF (QImage::Format_RGB32).
#include <cstdint>

namespace mevra {

class image_info;

struct canvas_view {
    int zoom_level = 4;              // index into clgbase::zoom_table (0..12)
    int scroll_x = 0, scroll_y = 0;  // sx, sy: scroll offset in canvas (screen) pixels
    int width = 0, height = 0;       // canvas size W x H in screen pixels
    int draw_type = 0;               // display mode 0..4
    int grid_mode = 0;               // 0 off, 1 on
    int grid_type = 0;               // 0..9
    const uint32_t* tile = nullptr;  // 64x64 background tile, 0xAARRGGBB, top row first
                                     // (nullptr: drawn as opaque black)
    // 0 lets the renderer split a large canvas over two threads; 1 keeps all
    // the work on the calling thread. The picture is the same either way.
    int threads = 0;
};

// Display modes (draw_type).
enum canvas_draw_type : int {
    DRAW_ALPHA_BLEND = 0,  // image over the tile with source alpha
    DRAW_COLOR_ONLY = 1,   // colour channels only, no tile
    DRAW_ALPHA_ONLY = 2,   // alpha as a grey level, no tile
    DRAW_ADDITIVE = 3,     // tile + colour * colour
    DRAW_SUBTRACTIVE = 4,  // tile * (1 - colour)
};

inline constexpr int background_tile_side = 64;
inline constexpr int background_tile_count = 5;
inline constexpr int grid_type_count = 10;
// Spacing of the grid lines and of the bold grid lines, in image pixels, by grid_type.
inline constexpr int plus_ofs[grid_type_count] = {2, 2, 2, 4, 4, 8, 10, 16, 30, 40};
inline constexpr int bold_size[grid_type_count] = {8, 10, 12, 16, 24, 40, 40, 64, 120, 160};
// Grid line colours, 0xAARRGGBB.
inline constexpr uint32_t grid_plain_color = 0x38A0A0F0u;  // (160, 160, 240, 56)
inline constexpr uint32_t grid_bold_color = 0xA0A0A0F0u;   // (160, 160, 240, 160)
// What the AVI player shows beyond the zoomed frame (before blending).
inline constexpr uint32_t player_outside_color = 0xFFD3D3D3u;

// Draws the visible part of `image` as the image window shows it into `out`:
// width*height pixels, 0xAARRGGBB (QImage::Format_RGB32-compatible), top row first.
// Only the visible part of the image is converted. Safe to call from any thread.
// An image without pixels leaves just the background (tile or black) and no grid.
void render_canvas(const image_info& image, const canvas_view& view, uint32_t* out);

// The AVI player's variant: no scrolling (scroll_x/scroll_y are ignored, the
// frame's top-left pixel is at the canvas's top-left), canvas pixels beyond the
// zoomed frame are opaque light grey before blending (in every display mode),
// horizontal grid lines span only the zoomed frame's width and vertical ones
// only its height. Safe to call from any thread.
void render_player_frame(const image_info& frame, const canvas_view& view, uint32_t* out);

// The background tiles: tile 0 is the 8x8 checkerboard (dark slate and lavender,
// dark square at the top-left); tiles 1..4 are diamonds, golden studs, paper
// and embossed grey. Returns 64*64 opaque ARGB pixels, top row first, valid for
// the life of the process.
const uint32_t* background_tile(int background_type);  // clamps to 0..4

}  // namespace mevra
