// The image window's mouse tools: position reporting, eyedropper and the two
// square pens. Events arrive in canvas coordinates; the palette window holds
// the tool and pen state.
#include <QMouseEvent>
#include <cmath>

#include "image/image_info.h"
#include "render/canvas_renderer.h"
#include "settings/clgbase.h"
#include "views/image_window.h"
#include "views/indexed_image.h"
#include "views/pen_stroke.h"
#include "views/tool_palette.h"

using namespace mevra;

namespace {

// The image pixel under a canvas point, through the scroll offset and zoom.
QPoint image_point_at(const image_window& window, QPointF canvas_point) {
    const QPoint scroll = window.scroll_offset();
    const int level = window.image ? window.image->zoom_scale_level : 4;
    return {
        mevra::canvas_to_image(static_cast<int>(std::floor(canvas_point.x())), scroll.x(), level),
        mevra::canvas_to_image(static_cast<int>(std::floor(canvas_point.y())), scroll.y(), level)};
}

}  // namespace

bool image_window::check_colpos_type(Qt::MouseButtons buttons, int& c, int& width,
                                     int& mode) const {
    c = -1;
    if (!tools || !image) return false;
    const int tool = tools->palette_type;
    int pen = 0;
    if (tool == PLTTYP_PEN1) {
        if (buttons == Qt::LeftButton) pen = 1;
        if (buttons == Qt::RightButton) pen = 2;
    } else if (tool == PLTTYP_PEN2) {
        pen = 2;
    }
    if (pen == 0) return false;
    const bool indexed = is_indexed(*image);
    if (pen == 1) {
        c = indexed ? tools->color1_pos : 0;
        width = tools->pen1_width();
        mode = tools->pen1_mode();
    } else {
        c = indexed ? tools->color2_pos : 1;
        width = tools->pen2_width();
        mode = tools->pen2_mode();
    }
    return true;
}

void image_window::canvas_mouse_press(QMouseEvent* event) {
    if (!tools || !image || !image->flag) return;
    const QPoint at = image_point_at(*this, event->position());
    const int tool = tools->palette_type;
    if (tool == PLTTYP_SPUIT) {
        if (at.x() < 0 || at.y() < 0 || at.x() >= image->width || at.y() >= image->height) return;
        const int64_t pos = int64_t{at.y()} * image->width + at.x();
        const Qt::MouseButton button = event->button();
        if (button != Qt::LeftButton && button != Qt::RightButton) return;
        const bool left = button == Qt::LeftButton;
        if (image->image_type == IMGTYP_RGB) {
            const uint32_t colour = image->argb_buff[static_cast<size_t>(pos)];
            (left ? tools->color1_pos : tools->color2_pos) = static_cast<int>(pos);
            (left ? tools->color1_pos_color : tools->color2_pos_color) = colour;
        } else if (is_indexed(*image)) {
            // With duplicate colours in the palette the lowest index wins.
            const uint32_t colour = image->get_pos_color(pos);
            for (int i = 0; i < image->color_num; ++i) {
                if (image->color[static_cast<size_t>(i)] != colour) continue;
                (left ? tools->color1_pos : tools->color2_pos) = i;
                break;
            }
        }
        tools->info_update();
        return;
    }
    if (tool != PLTTYP_PEN1 && tool != PLTTYP_PEN2) return;
    int c = -1, width = 0, mode = 0;
    if (!check_colpos_type(Qt::MouseButtons(event->button()), c, width, mode)) return;
    pen_x = at.x();
    pen_y = at.y();
    pen_sw = 0;
    pen_draw(at.x(), at.y(), c, width, mode);
    repaint_image();
}

void image_window::canvas_mouse_move(QMouseEvent* event) {
    if (!image) return;
    const QPoint at = image_point_at(*this, event->position());
    if (tools) tools->set_mouse_position(at.x(), at.y());
    if (pen_sw == -1) return;
    int c = -1, width = 0, mode = 0;
    if (!check_colpos_type(event->buttons(), c, width, mode)) {
        pen_x = pen_y = pen_sw = -1;
        return;
    }
    pen_draw(at.x(), at.y(), c, width, mode);
    repaint_image();
}

void image_window::canvas_mouse_release(QMouseEvent*) {
    if (tools && image && image->flag &&
        (tools->palette_type == PLTTYP_PEN1 || tools->palette_type == PLTTYP_PEN2)) {
        // Every release with a pen records a state, also when nothing was drawn.
        image->set_color_cnt();
        tools->info_update();
        undo_add();
    }
    pen_x = pen_y = pen_sw = -1;
}

void image_window::pen_draw(int x, int y, int c, int width, int mode) {
    if (!image || c < 0 || (is_indexed(*image) && c >= image->color_num)) {
        pen_x = pen_y = pen_sw = -1;
        return;
    }
    for (const views::pen_point& dab : views::pen_line_points(pen_x, pen_y, x, y))
        pen_draw_sub(dab.x, dab.y, c, width, mode);
    pen_x = x;
    pen_y = y;
}

void image_window::pen_draw_sub(int x, int y, int c, int width, int mode) {
    if (!image) return;
    uint32_t colour = 0;
    if (tools) colour = c == 0 ? tools->color1_pos_color : tools->color2_pos_color;
    views::apply_dab(*image, x, y, c, width, mode, colour);
}
