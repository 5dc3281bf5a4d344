#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include "image/image_info.h"
#include "settings/clgbase.h"
#include "views/cursor_view.h"
#include "views/palette_grid_paint.h"

using namespace mevra;

namespace {

// An indexed image of 16 entries with alpha falling from 255 by 16 each.
image_info sixteen_colours() {
    std::vector<uint32_t> pixels;
    for (uint32_t i = 0; i < 16; ++i)
        pixels.push_back(((255 - i * 16) << 24) | (i * 0x0F0A05));
    image_info image(16, 1, pixels.data());
    image.color_num = image.argb_to_color_index();
    image.image_type = IMGTYP_16;
    return image;
}

QImage paint(const image_info& image, int pen1, int pen2) {
    QImage grid(257, 257, QImage::Format_ARGB32);
    grid.fill(0xFF444444u);
    QPainter painter(&grid);
    views::paint_palette_grid(painter, image, pen1, pen2);
    return grid;
}

}  // namespace

TEST(PaletteGrid, CellsAlphaSquaresKeyMarkAndPenFrames) {
    image_info image = sixteen_colours();
    ASSERT_EQ(image.color_num, 16);
    settings().nuki_flg_palette0 = 1;
    const QImage grid = paint(image, 3, 200);
    settings().nuki_flg_palette0 = 0;

    const uint32_t entry5 = image.color[5];
    EXPECT_EQ(grid.pixel(5 * 16 + 1 + 10, 1), entry5 | 0xFF000000u);  // colour made opaque
    const int alpha5 = static_cast<int>(entry5 >> 24);
    EXPECT_EQ(grid.pixel(5 * 16 + 3, 12), qRgb(alpha5, alpha5, alpha5));
    // Key colour frame only on entry 0, round its alpha square.
    EXPECT_EQ(grid.pixel(1, 10), 0xFF00F000u);
    EXPECT_EQ(grid.pixel(6, 15), 0xFF00F000u);
    EXPECT_NE(grid.pixel(16 + 1, 10), 0xFF00F000u);
    // Empty cell: light grey inside a grey frame.
    EXPECT_EQ(grid.pixel(1, 17), 0xFF808080u);  // cell 16: the frame is the fill's border
    EXPECT_EQ(grid.pixel(15, 31), 0xFF808080u);
    EXPECT_EQ(grid.pixel(8, 24), 0xFFE0E0E0u);
    EXPECT_EQ(grid.pixel(16, 24), 0xFF444444u);  // gap column
    // Pen 1 at entry 3 framed on the gap lines; pen 2 beyond the palette marks nothing.
    for (int k = 0; k <= 16; ++k) {
        EXPECT_EQ(grid.pixel(48 + k, 0), 0xFFF00000u);
        EXPECT_EQ(grid.pixel(48 + k, 16), 0xFFF00000u);
        EXPECT_EQ(grid.pixel(48, k), 0xFFF00000u);
        EXPECT_EQ(grid.pixel(64, k), 0xFFF00000u);
    }
    EXPECT_EQ(grid.pixel(8 * 16, 12 * 16), 0xFF444444u);
}

TEST(PaletteGrid, PointsMapToCells) {
    EXPECT_EQ(views::palette_cell_at(0, 0), 0);
    EXPECT_EQ(views::palette_cell_at(256, 256), 255);
    EXPECT_EQ(views::palette_cell_at(258, 5), -1);
}

TEST(CursorView, EightfoldViewShowsNineBlockPixelsWithTheCentreFramed) {
    const int m = views::cursor_magnification(3);
    ASSERT_EQ(m, 8);
    QImage block(10, 10, QImage::Format_ARGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            block.setPixel(x, y, qRgb(x * 20, y * 20, 7));
    const QImage view = views::compose_cursor_view(block, m);
    ASSERT_EQ(view.size(), QSize(72, 72));
    EXPECT_EQ(view.pixel(32, 32), qRgb(80, 80, 7));  // centre pixel (4, 4), 8 × 8
    EXPECT_EQ(view.pixel(39, 39), qRgb(80, 80, 7));
    EXPECT_EQ(view.pixel(71, 0), qRgb(160, 0, 7));  // only 9 × 9 block pixels are shown
    for (int k = 31; k <= 40; ++k) {
        EXPECT_EQ(view.pixel(k, 31), qRgb(0, 0, 0));
        EXPECT_EQ(view.pixel(40, k), qRgb(0, 0, 0));
    }
    EXPECT_EQ(view.pixel(30, 30), qRgb(60, 60, 7));
    EXPECT_EQ(views::cursor_centre_colour(block, m), qRgb(80, 80, 7));
    EXPECT_EQ(views::cursor_colour_text(qRgb(5, 255, 16)), "R:  5 G:255 B: 16 #05 ff 10");
    EXPECT_EQ(views::cursor_magnification(9), 8);
}
