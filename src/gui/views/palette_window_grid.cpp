// The palette window's grid: painting, pen selection and entry exchange by
// dragging, the pen swatches and values, and colour editing.
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <utility>

#include "image/image_info.h"
#include "settings/clgbase.h"
#include "views/colour_dialog.h"
#include "views/image_window.h"
#include "views/indexed_image.h"
#include "views/palette_grid_paint.h"
#include "views/palette_widgets.h"
#include "views/palette_window.h"

using namespace mevra;

namespace {

image_info* active_image() {
    image_window* active = image_window::lastActive;
    return active && active->image && active->image->flag ? active->image.get() : nullptr;
}

}  // namespace

void palette_window::refresh_grid() {
    palette_grid->update();
    update_pen_views();
}

void palette_window::grid_paint(QPainter& painter) {
    if (const image_info* image = active_image())
        views::paint_palette_grid(painter, *image, color1_pos, color2_pos);
}

void palette_window::update_pen_views() {
    const image_info* image = active_image();
    if (!image) return;
    uint32_t pen1 = color1_pos_color;
    if (is_indexed(*image)) {
        set_swatch_colour(pen2_swatch, in_palette(*image, color2_pos)
                                           ? image->color[static_cast<size_t>(color2_pos)]
                                           : color2_pos_color);
        if (in_palette(*image, color1_pos)) {
            const size_t pos = static_cast<size_t>(color1_pos);
            pen1 = image->color[pos];
            if (pos < image->color_cnt.size())
                pixel_count_label->setText(QString("PixNum: %1").arg(image->color_cnt[pos]));
            set_swatch_colour(pen1_swatch, pen1);
        } else {
            // Without a palette entry the values read zero; PixNum keeps its text.
            set_swatch_colour(pen1_swatch, color1_pos_color);
            pen1 = 0;
        }
    } else if (image->image_type == IMGTYP_RGB) {
        set_swatch_colour(pen1_swatch, color1_pos_color);
        set_swatch_colour(pen2_swatch, color2_pos_color);
        pixel_count_label->setText("PixNum: ??");
    } else {
        return;
    }
    const bool hex = settings().argb_unit == 1;
    const int shifts[4] = {24, 16, 8, 0};
    for (int i = 0; i < 4; ++i) {
        const int v = static_cast<int>((pen1 >> shifts[i]) & 0xFF);
        value_labels_[static_cast<size_t>(i)]->setText(QString::number(v, hex ? 16 : 10));
    }
}

void palette_window::grid_press(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int cell = views::palette_cell_at(at.x(), at.y());
    if (cell < 0) return;
    last_button = event->button();
    move_color_pos = cell;
}

void palette_window::grid_release(QMouseEvent* event) {
    const image_info* image = active_image();
    if (!image || !is_indexed(*image)) return;
    const QPoint at = event->position().toPoint();
    const int target = views::palette_cell_at(at.x(), at.y());
    if (target < 0) return;  // released outside the grid
    // Empty cells can be chosen too; such a pen simply does not paint.
    if (event->button() == Qt::LeftButton) color1_pos = target;
    if (event->button() == Qt::RightButton) color2_pos = target;
    if (move_color_pos != target) move_palette(move_color_pos, target);
    refresh_grid();
}

void palette_window::grid_double_click(QMouseEvent* event) {
    // Qt reports the second press of a double click only as the double click.
    grid_press(event);
    edit_color(last_button == Qt::RightButton ? 2 : 1, FROM_GRID,
               event->globalPosition().toPoint());
}

void palette_window::move_palette(int a, int b) {
    image_window* active = image_window::lastActive;
    image_info* image = active_image();
    if (!image || !is_indexed(*image) || a == b) return;
    if (!in_palette(*image, a) || !in_palette(*image, b)) return;
    const size_t ua = static_cast<size_t>(a), ub = static_cast<size_t>(b);
    if (image->color_cnt.size() <= std::max(ua, ub)) return;
    for (int32_t& index : image->index_buff) {
        if (index == a) {
            index = b;
        } else if (index == b) {
            index = a;
        }
    }
    std::swap(image->color[ua], image->color[ub]);
    std::swap(image->color_cnt[ua], image->color_cnt[ub]);
    active->repaint_image();
    active->undo_add();
}

void palette_window::exchange_pens() {
    // The ARGB pen colours travel with the indices, so "⇔" also swaps the pens
    // of an ARGB image instead of doing nothing visible there.
    std::swap(color1_pos, color2_pos);
    std::swap(color1_pos_color, color2_pos_color);
    refresh_grid();
}

void palette_window::edit_color(int pen, edit_origin origin, QPoint pointer) {
    image_window* active = image_window::lastActive;
    image_info* image = active_image();
    if (!image) return;
    const bool indexed = is_indexed(*image);
    if (!indexed && image->image_type != IMGTYP_RGB) return;
    int pos = -1;
    uint32_t start = pen == 2 ? color2_pos_color : color1_pos_color;
    if (indexed) {
        pos = pen == 2 ? color2_pos : color1_pos;
        if (!in_palette(*image, pos)) return;
        start = image->color[static_cast<size_t>(pos)];
    }

    colour_editor->color_pos = pos;
    colour_editor->set_color(start);
    // The offsets put the bar the user clicked on under the pointer.
    int above = 40;
    if (origin == FROM_ALPHA) above = 106;
    if (origin == FROM_GREEN) above = 62;
    if (origin == FROM_BLUE) above = 84;
    colour_editor->move(pointer.x() - 160, pointer.y() - above);
    if (auto* ok = colour_editor->findChild<QPushButton*>("ok_button")) ok->setFocus();
    const int answer = colour_editor->exec();

    if (answer == QDialog::Accepted) {
        const uint32_t result = colour_editor->shown_color();
        if (result == start) return;
        if (indexed) {
            image->color[static_cast<size_t>(pos)] = result;  // normally already previewed
        } else if (pen == 2) {
            color2_pos_color = result;
        } else {
            color1_pos_color = result;
        }
        active->undo_add();
        active->zoom_changed();
        return;
    }
    if (indexed) image->color[static_cast<size_t>(pos)] = start;
    active->repaint_image();
    refresh_grid();
}

void palette_window::preview_color(int pos, uint32_t argb) {
    image_window* active = image_window::lastActive;
    image_info* image = active_image();
    if (!image || !is_indexed(*image) || !in_palette(*image, pos)) return;
    image->color[static_cast<size_t>(pos)] = argb;
    active->repaint_image();
    refresh_grid();
}
