#pragma once
// Drawing of the palette window's 16 × 16 colour grid.
class QPainter;

namespace mevra {
class image_info;
}

namespace mevra::views {

// Paints the cells of an indexed image's palette: each entry opaque with a
// grey square for its alpha and a green frame when it is the key colour,
// empty cells light grey, then the red frames of pen 2 and pen 1 (pen
// indices outside the palette mark no cell).
void paint_palette_grid(QPainter& painter, const image_info& image, int color1_pos, int color2_pos);

// The cell under a point of the grid (columns and rows start one pixel in), or
// -1 outside the 16 × 16 cells.
int palette_cell_at(int x, int y);

}  // namespace mevra::views
