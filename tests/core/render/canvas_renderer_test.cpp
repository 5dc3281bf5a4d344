#include "render/canvas_renderer.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "render/canvas_blend.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using namespace test;
using render_detail::blend_pixel;

constexpr uint32_t opaque_grid = 0xFFA0A0F0u;  // a grid line in the opaque modes

struct canvas {
    int w, h;
    std::vector<uint32_t> px;
    uint32_t at(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
};

canvas draw(const image_info& img, canvas_view v, bool player = false) {
    canvas c{v.width, v.height,
             std::vector<uint32_t>(static_cast<size_t>(v.width) * v.height, 0xDEADBEEF)};
    if (player)
        render_player_frame(img, v, c.px.data());
    else
        render_canvas(img, v, c.px.data());
    return c;
}

canvas_view view(int w, int h, int zoom_level, int draw_type = 1) {
    canvas_view v;
    v.width = w;
    v.height = h;
    v.zoom_level = zoom_level;
    v.draw_type = draw_type;
    v.tile = background_tile(0);
    return v;
}

// Pixel (x, y) of an image whose every pixel is distinct.
uint32_t distinct(int x, int y) {
    return 0xFF000000u | static_cast<uint32_t>(y) << 8 | static_cast<uint32_t>(x);
}

TEST(CanvasBlend, DisplayModesOverTheTile) {
    // Canvas (0, 0) lies on the checkerboard's dark slate square (53, 53, 85).
    const uint32_t slate = 0xFF353555u;
    EXPECT_EQ(background_tile(0)[0], slate);
    EXPECT_EQ(background_tile(0)[8], 0xFFC0C0E0u);
    EXPECT_EQ(background_tile(0)[8 * 64 + 8], slate);
    const uint32_t px = 0x80804020u;
    const image_info img = make_argb(1, 1, {px});
    const uint32_t expected[5] = {
        0xFF000000u | 91u << 16 | 59u << 8 | 58,   // (128 * 128 + 53 * 127) / 255, ...
        0xFF804020u,                               // colour only, alpha ignored
        0xFF808080u,                               // alpha as grey
        0xFF000000u | 117u << 16 | 69u << 8 | 89,  // 64 + 53, 16 + 53, 4 + 85
        0xFF000000u | 26u << 16 | 40u << 8 | 74,   // 53 * 127 / 255, 53 * 191 / 255, 85 * 223 / 255
    };
    for (int dt = 0; dt < 5; ++dt) {
        EXPECT_EQ(draw(img, view(2, 2, 4, dt)).at(0, 0), expected[dt]) << "mode " << dt;
        EXPECT_EQ(blend_pixel(dt, render_detail::stored_pixel(dt, px), slate), expected[dt]);
    }
    // Additive saturates; a transparent pixel leaves the tile in mode 0; the
    // alpha-only mode shows transparent as black and opaque as white.
    EXPECT_EQ(blend_pixel(3, 0xFFFFFFFFu, slate), 0xFFFFFFFFu);
    EXPECT_EQ(draw(make_argb(1, 1, {0x00FFFFFF}), view(1, 1, 4, 0)).at(0, 0), slate);
    EXPECT_EQ(draw(make_argb(1, 1, {0x00FFFFFF}), view(1, 1, 4, 2)).at(0, 0), 0xFF000000u);
    EXPECT_EQ(draw(make_argb(1, 1, {0xFF123456}), view(1, 1, 4, 2)).at(0, 0), 0xFFFFFFFFu);
}

TEST(CanvasBlend, FastRowMatchesThePixelReference) {
    for (uint32_t n = 0; n <= 65025; ++n) {
        const uint32_t t = n + 128;
        ASSERT_EQ((t + (t >> 8)) >> 8, render_detail::div255(n)) << n;
    }
    std::mt19937 rng(7);
    std::vector<uint32_t> src(1003), dst(1003), out(1003), span(1003);
    for (int round = 0; round < 20; ++round) {
        for (size_t i = 0; i < src.size(); ++i) {
            src[i] = rng();
            dst[i] = rng();
            if (i % 7 == 0) src[i] |= 0xFF000000u;
            if (i % 11 == 0) src[i] &= 0x00FFFFFFu;
        }
        for (int dt = 0; dt < 5; ++dt) {
            render_detail::blend_row(dt, src.data(), dst.data(), out.data(),
                                     static_cast<int>(src.size()));
            span = dst;
            render_detail::blend_span(dt, src[round], span.data(), static_cast<int>(span.size()));
            for (size_t i = 0; i < src.size(); ++i) {
                ASSERT_EQ(out[i], blend_pixel(dt, src[i], dst[i])) << dt << " " << i;
                ASSERT_EQ(span[i], blend_pixel(dt, src[round], dst[i])) << dt << " " << i;
            }
        }
    }
}

TEST(CanvasRenderer, ZoomScrollAndEdgeClamp) {
    const image_info img = make_argb_by(10, 8, distinct);
    // Zoom 2 scrolled by (3, 1): canvas x shows image column (x + 3) / 2.
    canvas_view v = view(12, 10, 5);
    v.scroll_x = 3;
    v.scroll_y = 1;
    canvas c = draw(img, v);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(c.at(x, y), distinct(std::min(9, (x + 3) / 2), (y + 1) / 2));
    // Zoom 0.5 takes every other pixel; zoom 3 uses the single-precision 1/3.
    c = draw(img, view(5, 4, 3));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(c.at(x, y), distinct(2 * x, 2 * y));
    c = draw(img, view(30, 24, 6));
    const float third = 1.0f / 3.0f;
    for (int x = 0; x < 30; ++x) {
        ASSERT_EQ(c.at(x, 5), distinct(static_cast<int>(static_cast<float>(x) * third), 1));
        ASSERT_EQ(canvas_to_image(x, 0, 6), static_cast<int>(static_cast<float>(x) * third));
    }
    EXPECT_EQ(canvas_to_image(10, 3, 5), 6);   // the mouse mapping, unclamped
    EXPECT_EQ(canvas_to_image(-3, 0, 5), -1);  // truncated toward zero
    EXPECT_EQ(canvas_to_image(7, 100, 0), 1712);
    // A canvas larger than the zoomed image repeats the last row and column.
    c = draw(img, view(14, 11, 4));
    EXPECT_EQ(c.at(13, 10), distinct(9, 7));
    EXPECT_EQ(c.at(13, 0), distinct(9, 0));
}

TEST(CanvasRenderer, TileStaysAnchoredToTheCanvas) {
    const image_info clear = make_argb_by(300, 300, [](int, int) { return 0x00FFFFFFu; });
    for (int tile = 0; tile < background_tile_count; ++tile) {
        canvas_view v = view(100, 70, 7, 0);
        v.tile = background_tile(tile);
        v.scroll_x = 37;
        v.scroll_y = 501;
        const canvas c = draw(clear, v);
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 100; ++x)
                ASSERT_EQ(c.at(x, y), v.tile[(y % 64) * 64 + x % 64]);
        for (int i = 0; i < 64 * 64; ++i)
            ASSERT_EQ(v.tile[i] >> 24, 0xFFu);  // opaque
    }
    canvas_view v = view(3, 3, 4, 0);  // no tile: black below the image
    v.tile = nullptr;
    EXPECT_EQ(draw(clear, v).at(1, 1), 0xFF000000u);
}

TEST(CanvasRenderer, IndexedImagesShowTheirColourTable) {
    const std::vector<uint32_t> palette = {0xFF102030, 0x80405060, 0x00FFFFFF};
    std::vector<int32_t> idx(6 * 5);
    for (size_t i = 0; i < idx.size(); ++i)
        idx[i] = static_cast<int32_t>(i % 3);
    const image_info indexed = make_indexed(IMGTYP_256, 6, 5, palette, idx);
    const image_info argb =
        make_argb_by(6, 5, [&](int x, int y) { return palette[idx[y * 6 + x]]; });
    for (int dt = 0; dt < 5; ++dt)
        EXPECT_EQ(draw(indexed, view(12, 10, 5, dt)).px, draw(argb, view(12, 10, 5, dt)).px) << dt;
    image_info bad = indexed;  // an index beyond the table shows transparent black
    bad.index_buff[0] = 300;
    bad.index_buff[1] = -4;
    const canvas c = draw(bad, view(2, 1, 4, 1));
    EXPECT_EQ(c.at(0, 0), 0xFF000000u);
    EXPECT_EQ(c.at(1, 0), 0xFF000000u);
}

TEST(CanvasGrid, LinesAppearByZoomAndSpacing) {
    // Grid type 3: lines every 4 image pixels, bold every 16.
    const image_info img = make_argb_by(64, 64, [](int, int) { return 0xFF000000u; });
    auto grid_view = [](int w, int h, int level) {
        canvas_view v = view(w, h, level, 1);
        v.grid_mode = 1;
        v.grid_type = 3;
        return v;
    };
    canvas c = draw(img, grid_view(4, 4, 0));  // 0.0625: bold 1 px apart, fine 0.25: none
    for (uint32_t p : c.px)
        EXPECT_EQ(p, 0xFF000000u);
    c = draw(img, grid_view(16, 16, 2));  // 0.25: bold exactly 4 px apart is drawn
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(c.at(x, 5) == opaque_grid, x % 4 == 0) << x;
    c = draw(img, grid_view(32, 32, 3));  // 0.5: bold every 8 px, no fine lines
    for (int x = 0; x < 32; ++x) {
        EXPECT_EQ(c.at(x, 5) == opaque_grid, x % 8 == 0) << x;
        EXPECT_EQ(c.at(5, x) == opaque_grid, x % 8 == 0) << x;
    }
    c = draw(img, grid_view(64, 64, 4));  // 1: both
    for (int x = 0; x < 64; ++x)
        EXPECT_EQ(c.at(x, 5) == opaque_grid, x % 4 == 0) << x;

    // Mode 0 blends the line colours; crossings are blended twice, horizontal first.
    canvas_view v = grid_view(64, 64, 4);
    v.draw_type = 0;
    v.tile = nullptr;
    c = draw(img, v);
    const uint32_t black = 0xFF000000u;
    EXPECT_EQ(c.at(1, 4), blend_pixel(0, grid_plain_color, black));
    EXPECT_EQ(c.at(1, 16), blend_pixel(0, grid_bold_color, black));
    EXPECT_EQ(c.at(4, 16),
              blend_pixel(0, grid_plain_color, blend_pixel(0, grid_bold_color, black)));
    EXPECT_EQ(c.at(1, 1), black);
}

TEST(CanvasGrid, ScrolledLinesAndTheCanvasEdge) {
    // Grid type 0 (every 2, bold every 8) at zoom 3: lines every 6 canvas pixels.
    const image_info img = make_argb_by(40, 40, [](int, int) { return 0xFF000000u; });
    canvas_view v = view(25, 24, 6, 2);
    v.grid_mode = 1;
    v.scroll_x = 4;  // columns at 6c - 4: 2, 8, 14, 20 (and 26, beyond)
    v.scroll_y = 0;  // rows at 0, 6, 12, 18; 24 == H is outside and skipped
    const canvas c = draw(img, v);
    for (int x = 0; x < 25; ++x)
        EXPECT_EQ(c.at(x, 1) == opaque_grid, x % 6 == 2) << x;
    for (int y = 0; y < 24; ++y)
        EXPECT_EQ(c.at(1, y) == opaque_grid, y % 6 == 0) << y;
    // No line below row 0 of an image shorter than the canvas: r stops before height.
    const image_info small = make_argb_by(2, 2, [](int, int) { return 0xFF000000u; });
    canvas_view s = view(12, 12, 10, 1);  // zoom 8: line at 0 and 16 (beyond)
    s.grid_mode = 1;
    const canvas d = draw(small, s);
    EXPECT_EQ(d.at(5, 0), opaque_grid);
    EXPECT_EQ(d.at(5, 8), 0xFF000000u);  // r = 2 is the image height: no line
}

TEST(PlayerFrame, LightGreyBeyondTheFrameAndGridOnlyOverIt) {
    const image_info frame = make_argb_by(4, 3, [](int, int) { return 0x00000000u; });
    for (int dt = 0; dt < 5; ++dt) {
        canvas_view v = view(20, 10, 5, dt);  // zoom 2: frame covers 8 x 6
        v.scroll_x = 7;                       // ignored by the player
        v.grid_mode = 1;
        v.grid_type = 0;  // lines every 2 image pixels = 4 canvas pixels
        const canvas c = draw(frame, v, true);
        const uint32_t tile = v.tile[9 * 64 + 9];
        const uint32_t beyond =
            dt == 1 || dt == 2 ? player_outside_color : blend_pixel(dt, player_outside_color, tile);
        EXPECT_EQ(c.at(9, 9), beyond) << dt;
        EXPECT_EQ(c.at(8, 2), blend_pixel(dt, player_outside_color, v.tile[2 * 64 + 8])) << dt;
        // Row 4 carries a horizontal line across the frame only; column 4 a vertical one.
        const uint32_t inside =
            blend_pixel(dt, render_detail::stored_pixel(dt, 0), v.tile[4 * 64 + 5]);
        EXPECT_EQ(c.at(5, 4), blend_pixel(dt, grid_plain_color, inside)) << dt;
        EXPECT_EQ(c.at(12, 4), blend_pixel(dt, player_outside_color, v.tile[4 * 64 + 12])) << dt;
        EXPECT_EQ(c.at(4, 8), blend_pixel(dt, player_outside_color, v.tile[8 * 64 + 4])) << dt;
    }
    // Zoom 0.0625: a 20-pixel frame covers canvas columns x < 1.25, i.e. 0 and 1.
    const image_info wide = make_argb_by(20, 20, [](int, int) { return 0xFF0000FFu; });
    const canvas c = draw(wide, view(4, 4, 0, 1), true);
    EXPECT_EQ(c.at(1, 1), 0xFF0000FFu);
    EXPECT_EQ(c.at(2, 1), player_outside_color);
    EXPECT_EQ(c.at(1, 2), player_outside_color);
    image_info none;  // no frame: all grey
    EXPECT_EQ(draw(none, view(3, 3, 4, 1), true).at(2, 2), player_outside_color);
}

TEST(CanvasRenderer, TwoThreadsDrawTheSamePicture) {
    const image_info img = make_photo_like(700, 500, 3, true);
    for (int dt = 0; dt < 5; ++dt) {
        canvas_view v = view(640, 480, 5, dt);
        v.grid_mode = 1;
        v.scroll_x = 33;
        v.scroll_y = 57;
        const canvas split = draw(img, v);
        v.threads = 1;
        EXPECT_EQ(split.px, draw(img, v).px) << dt;
    }
    EXPECT_EQ(draw(image_info(), view(3, 2, 4, 0)).at(2, 1), background_tile(0)[2]);  // no image
}

TEST(BackgroundTiles, ShippedPicturesMatchTheRenderer) {
    EXPECT_EQ(background_tile(-3), background_tile(0));
    EXPECT_EQ(background_tile(9), background_tile(4));
    for (int i = 0; i < background_tile_count; ++i) {
        const std::string path = std::string(MEVRA_SOURCE_DIR) + "/src/gui/resources/tiles/tile" +
                                 std::to_string(i) + ".png";
        const image_info png(path);
        ASSERT_EQ(png.width, 64) << path;
        ASSERT_EQ(png.height, 64) << path;
        const std::vector<uint32_t> tile(background_tile(i), background_tile(i) + 64 * 64);
        EXPECT_EQ(argb_pixels(png), tile) << path;
    }
}

}  // namespace
}  // namespace mevra
