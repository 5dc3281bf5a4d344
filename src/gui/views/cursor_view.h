#pragma once
// The palette window's magnified view of the screen around the mouse pointer.
#include <QImage>
#include <QPoint>
#include <QString>

namespace mevra::views {

// Side of the square view in pixels.
inline constexpr int cursor_view_size = 72;

// Magnification for the settings' cursor_zoom index (1, 2, 4 or 8; an index
// outside the table gives the nearest end).
int cursor_magnification(int cursor_zoom);

// The (n + 1) × (n + 1) block around `global` (n = 72 / m), centre pixel at
// (n / 2, n / 2). Read from the screen where the platform allows it; on
// platforms that give no screen picture (offscreen, Wayland) or when the
// capture fails, the program's own window under the pointer is rendered
// instead, and anything else is black. `capture_failed` reports a failed
// screen read.
QImage capture_block(QPoint global, int m, bool* capture_failed = nullptr);

// The 72 × 72 view: every block pixel drawn m × m, with a black frame around
// the centre pixel.
QImage compose_cursor_view(const QImage& block, int m);

// The centre pixel of a block (black when the block is too small).
QRgb cursor_centre_colour(const QImage& block, int m);

// "R:%3d G:%3d B:%3d #%02x %02x %02x" for a colour.
QString cursor_colour_text(QRgb colour);

}  // namespace mevra::views
