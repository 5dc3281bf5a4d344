// The five 64 x 64 background tiles, drawn by integer formulas so they are the
// same on every machine. Each pattern repeats within 64 pixels in both
// directions, so the tiled background shows no seams. The GUI ships the same
// pictures as PNG files (resources/tiles), written from these tables.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "render/canvas_renderer.h"

namespace mevra {
namespace {

constexpr int side = background_tile_side;
using tile_pixels = std::array<uint32_t, side * side>;

constexpr uint32_t rgb(int r, int g, int b) {
    return 0xFF000000u | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 |
           static_cast<uint32_t>(b);
}
constexpr uint32_t grey(int v) {
    return rgb(v, v, v);
}

// 8 x 8 squares, a dark one at the top-left corner.
uint32_t checkerboard(int x, int y) {
    return ((x / 8 + y / 8) % 2 == 0) ? rgb(53, 53, 85) : rgb(192, 192, 224);
}

// One diamond centred in every 16 x 16 cell, a light lattice between them.
uint32_t diamonds(int x, int y) {
    const int dx = 2 * (x % 16) - 15, dy = 2 * (y % 16) - 15;  // odd, centred
    return std::abs(dx) + std::abs(dy) <= 12 ? rgb(65, 92, 65) : rgb(197, 224, 197);
}

// Rows of round studs of 16 x 16 pixels, every other row shifted by half a
// stud; lit from the top-left.
uint32_t studs(int x, int y) {
    const int row = y / 16;
    const int sx = (x + (row % 2) * 8) % 16;
    const int dx = 2 * sx - 15, dy = 2 * (y % 16) - 15;
    const int d2 = dx * dx + dy * dy;
    if (d2 > 13 * 13) return rgb(96, 88, 24);  // olive gap between the studs
    if (d2 > 9 * 9) return dx + dy < 0 ? rgb(248, 232, 120) : rgb(136, 120, 32);  // bevel
    const int hx = dx + 5, hy = dy + 5;
    if (hx * hx + hy * hy <= 8) return rgb(255, 248, 176);  // highlight
    return rgb(216, 184, 56);                               // face
}

uint32_t hash(uint32_t x, uint32_t y) {
    uint32_t h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// Fine grain around grey 230, softened with the right and lower neighbours
// (wrapping, so the tile still repeats seamlessly).
uint32_t paper(int x, int y) {
    auto grain = [](int gx, int gy) {
        return static_cast<int>(
                   hash(static_cast<uint32_t>(gx & 63), static_cast<uint32_t>(gy & 63)) % 17) -
               8;
    };
    const int v = 230 + (2 * grain(x, y) + grain(x + 1, y) + grain(x, y + 1)) / 4;
    return grey(v);
}

// Rings raised from the grey surface, shown as light upper-left and dark
// lower-right edges.
int ring_height(int x, int y) {
    const int dx = 2 * (x & 31) - 31, dy = 2 * (y & 31) - 31;
    const int d2 = dx * dx + dy * dy;
    return d2 >= 12 * 12 && d2 <= 22 * 22 ? 1 : 0;
}
uint32_t embossed(int x, int y) {
    const int relief =
        ring_height((x + 63) & 63, (y + 63) & 63) - ring_height((x + 1) & 63, (y + 1) & 63);
    return grey(176 + 10 * relief);
}

tile_pixels make_tile(uint32_t (*pattern)(int, int)) {
    tile_pixels t{};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            t[static_cast<size_t>(y * side + x)] = pattern(x, y);
    return t;
}

}  // namespace

const uint32_t* background_tile(int background_type) {
    static const std::array<tile_pixels, background_tile_count> tiles = {
        make_tile(checkerboard), make_tile(diamonds), make_tile(studs), make_tile(paper),
        make_tile(embossed)};
    return tiles[static_cast<size_t>(std::clamp(background_type, 0, background_tile_count - 1))]
        .data();
}

}  // namespace mevra
