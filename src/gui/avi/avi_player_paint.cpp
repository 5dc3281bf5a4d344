// Drawing the player's view with the settings' zoom, grid and display mode:
// the current frame while stopped, the worker's latest picture while playing.
#include <QPainter>

#include "avi/avi_frame_panel.h"
#include "avi/avi_player.h"
#include "settings/clgbase.h"

void avi_player::refresh_view_options() {
    const mevra::clgbase& clg = mevra::settings();
    mevra::canvas_view v;
    v.zoom_level = std::clamp(clg.zoom_level, 0, mevra::clgbase::zoom_table_len - 1);
    v.draw_type = clg.draw_type;
    v.grid_mode = clg.grid_mode;
    v.grid_type = clg.grid_type;
    v.tile = tile_;
    v.width = frame_panel ? frame_panel->width() : 0;
    v.height = frame_panel ? frame_panel->height() : 0;
    const std::lock_guard lock(post_mutex_);
    view_options_ = v;
}

void avi_player::repaint_image() {
    refresh_view_options();
    if (play_mode() == 1) return;
    frame_panel->update();
}

void avi_player::paint_view(QPainter& painter, int width, int height) {
    const QColor outside = QColor::fromRgb(mevra::player_outside_color);
    if (play_mode() == 1) {
        // The worker's latest finished picture; a freshly resized view is
        // grey where that picture does not reach yet.
        const std::lock_guard lock(post_mutex_);
        painter.fillRect(0, 0, width, height, outside);
        if (!posted_.isNull()) painter.drawImage(0, 0, posted_);
        return;
    }
    if (!image_ || image_->flag == 0 || width <= 0 || height <= 0) {
        painter.fillRect(0, 0, width, height, palette().window());
        return;
    }
    refresh_view_options();
    mevra::canvas_view v;
    {
        const std::lock_guard lock(post_mutex_);
        v = view_options_;
    }
    v.width = width;
    v.height = height;
    QImage picture(width, height, QImage::Format_RGB32);
    mevra::render_player_frame(*image_, v, reinterpret_cast<uint32_t*>(picture.bits()));
    painter.drawImage(0, 0, picture);
}
