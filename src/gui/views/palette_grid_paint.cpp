#include "views/palette_grid_paint.h"

#include <QPainter>

#include "image/image_info.h"
#include "settings/clgbase.h"

namespace mevra::views {

namespace {

// A one-pixel frame whose outer size is (w + 1) × (h + 1) pixels, matching the
// filled squares it surrounds.
void outline(QPainter& painter, int x, int y, int w, int h, QRgb colour) {
    painter.setPen(QPen(QColor::fromRgba(colour), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(x, y, w, h);
}

void mark_pen(QPainter& painter, const image_info& image, int pos) {
    if (pos < 0 || pos >= image.color_num) return;
    outline(painter, (pos % 16) * 16, (pos / 16) * 16, 16, 16, 0xFFF00000u);
}

}  // namespace

void paint_palette_grid(QPainter& painter, const image_info& image, int color1_pos,
                        int color2_pos) {
    if (image.image_type != IMGTYP_256 && image.image_type != IMGTYP_16) return;
    painter.setRenderHint(QPainter::Antialiasing, false);
    const clgbase& clg = settings();
    const int entries = std::min<int>(image.color_num, static_cast<int>(image.color.size()));
    for (int i = 0; i < 256; ++i) {
        const int x = (i % 16) * 16 + 1;
        const int y = (i / 16) * 16;
        if (i < entries) {
            const uint32_t colour = image.color[static_cast<size_t>(i)];
            painter.fillRect(x, y + 1, 15, 15, QColor::fromRgb(colour | 0xFF000000u));
            const int alpha = static_cast<int>(colour >> 24);
            painter.fillRect(x, y + 10, 6, 6, QColor(alpha, alpha, alpha));
            if (clg.nukicheck(image.image_type, i, colour))
                outline(painter, x, y + 10, 5, 5, 0xFF00F000u);
        } else {
            painter.fillRect(x, y + 1, 15, 15, QColor::fromRgba(0xFFE0E0E0u));
            outline(painter, x, y + 1, 14, 14, 0xFF808080u);
        }
    }
    mark_pen(painter, image, color2_pos);
    mark_pen(painter, image, color1_pos);
}

int palette_cell_at(int x, int y) {
    // Integer division truncates toward zero, so the one-pixel border at 0
    // still belongs to the first column and row.
    const int column = (x - 1) / 16;
    const int row = (y - 1) / 16;
    if (column < 0 || column > 15 || row < 0 || row > 15) return -1;
    return row * 16 + column;
}

}  // namespace mevra::views
