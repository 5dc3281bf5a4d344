#include "views/image_window.h"

#include <QCloseEvent>
#include <QMdiArea>

#include "platform/ui_port.h"
#include "platform/ui_text.h"
#include "settings/clgbase.h"
#include "views/image_canvas.h"
#include "views/tool_palette.h"

image_window* image_window::lastActive = nullptr;
tool_palette* image_window::tools = nullptr;
int image_window::start_count = 0;

int image_window::check_mdi() {
    return lastActive != nullptr ? 1 : 0;
}

namespace {

float zoom_factor(int level) {
    if (level < 0) level = 0;
    if (level >= mevra::clgbase::zoom_table_len) level = mevra::clgbase::zoom_table_len - 1;
    return mevra::clgbase::zoom_table[level];
}

// The zoomed size of an image in screen pixels (integer part of size × z).
QSize zoomed_size(const mevra::image_info& image, float z) {
    return QSize(static_cast<int>(static_cast<float>(image.width) * z),
                 static_cast<int>(static_cast<float>(image.height) * z));
}

}  // namespace

image_window::image_window(QWidget* parent) : QMdiSubWindow(parent) {
    setObjectName("image_window");
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(128, 96);
    view_ = new image_view(this);
    canvas_ = new image_canvas([this] { return image.get(); }, view_, view_->viewport());
    canvas_->setGeometry(0, 0, 320, 240);
    connect(view_, &image_view::scrolled, this, [this] {
        fit_to_image();
        repaint_image();
    });
    connect(view_, &image_view::resized, this, &image_window::fit_to_image);
    connect(canvas_, &image_canvas::mouse_pressed, this, &image_window::canvas_mouse_press);
    connect(canvas_, &image_canvas::mouse_moved, this, &image_window::canvas_mouse_move);
    connect(canvas_, &image_canvas::mouse_released, this, &image_window::canvas_mouse_release);
    view_->set_extent(320, 240);
    setWidget(view_);
    resize(QSize(355, 248) + frame_overhead());
    connect(this, &QMdiSubWindow::aboutToActivate, this, &image_window::activated);
}

image_window::~image_window() {
    // Only this window's own entry is cleared: the window the frame activates
    // next stays the active one, and no stale pointer is left behind.
    if (lastActive == this) lastActive = nullptr;
    image.reset();
    undo_list.clear();
    if (tools) tools->info_update();
}

QSize image_window::frame_overhead() {
    ensurePolished();
    const QMargins m = contentsMargins();
    return QSize(m.left() + m.right(), m.top() + m.bottom());
}

int image_window::open_file(const QString& path) {
    image = std::make_unique<mevra::image_info>(path.toStdString());
    if (image->flag == 0 || image->image_type == mevra::IMGTYP_NONE) return -1;
    const int offset = (start_count % 10 + 1) * 12;
    move(offset, offset);
    const QSize zoomed = zoomed_size(*image, zoom_factor(mevra::settings().zoom_level));
    // The frame around the client area (title bar and borders), so that a
    // small image fits exactly.
    const QSize frame = frame_overhead();
    QSize size = this->size();
    if (zoomed.width() < 800) size.setWidth(zoomed.width() + frame.width());
    if (zoomed.height() < 600) size.setHeight(zoomed.height() + frame.height());
    resize(size.expandedTo(minimumSize()));
    ++start_count;
    return 0;
}

QPoint image_window::scroll_offset() const {
    return view_->scroll_offset();
}

void image_window::zoom_changed() {
    if (image) {
        const QSize zoomed = zoomed_size(*image, zoom_factor(image->zoom_scale_level));
        view_->set_extent(zoomed.width(), zoomed.height());
    }
    fit_to_image();
    repaint_image();
    if (tools) tools->info_update();
}

void image_window::fit_to_image() {
    if (!image) return;
    const QSize zoomed = zoomed_size(*image, zoom_factor(image->zoom_scale_level));
    const QSize client = view_->viewport()->size();
    canvas_->setGeometry(0, 0, std::min(zoomed.width(), client.width()),
                         std::min(zoomed.height(), client.height()));
}

void image_window::repaint_image() {
    canvas_->update();
}

// ---------------------------------------------------------------------------
// Undo: index 0 is the newest state; undo_pos is the state shown.

void image_window::undo_add() {
    if (!image) return;
    const auto drop =
        std::min<size_t>(static_cast<size_t>(std::max(undo_pos, 0)), undo_list.size());
    undo_list.erase(undo_list.begin(), undo_list.begin() + static_cast<std::ptrdiff_t>(drop));
    undo_pos = 0;
    undo_list.insert(undo_list.begin(), std::make_unique<mevra::image_info>(*image));
    while (undo_list.size() > static_cast<size_t>(UNDO_MAX))
        undo_list.pop_back();
    edit_change = 1;
}

namespace {

void show_state(image_window& child) {
    const int zoom = child.image ? child.image->zoom_scale_level : mevra::settings().zoom_level;
    // The old picture goes first, so only one extra copy exists at a time.
    child.image.reset();
    child.image =
        std::make_unique<mevra::image_info>(*child.undo_list[static_cast<size_t>(child.undo_pos)]);
    child.image->zoom_scale_level = zoom;
    child.zoom_changed();
}

}  // namespace

// At either end of the history nothing happens: showing the same state again
// would drop what the view changed since it was recorded (grid, display mode).
void image_window::undo_image() {
    if (undo_pos >= static_cast<int>(undo_list.size()) - 1) return;
    ++undo_pos;
    show_state(*this);
}

void image_window::redo_image() {
    if (undo_pos <= 0 || undo_list.empty()) return;
    --undo_pos;
    show_state(*this);
}

// ---------------------------------------------------------------------------
// Activation: pens change meaning between indexed and ARGB images.

void image_window::activated() {
    if (tools && image) {
        const mevra::image_info* previous =
            lastActive && lastActive != this ? lastActive->image.get() : nullptr;
        tools->carry_pens(previous, *image);
    }
    lastActive = this;
    if (tools && image) {
        tools->set_draw_type_button(image->draw_type);
        tools->info_update();
    }
}

// ---------------------------------------------------------------------------
// Closing

bool image_window::query_close() {
    if (edit_change == 0) return true;
    const std::string text = windowTitle().toStdString() + "\n" +
                             mevra::ui_text("image_window", "닫기 전에 수정 사항을 저장합니까?  ");
    switch (mevra::ui().message_box(text, mevra::ui_text("image_window", "저장 "),
                                    mevra::msg_buttons::yes_no_cancel)) {
        case mevra::msg_answer::cancel:
            return false;
        case mevra::msg_answer::yes:
            // Closing after a cancelled or failed save would lose the changes.
            return save_image(0);
        default:
            return true;
    }
}

void image_window::discard() {
    close_checked_ = true;
    delete this;
}

void image_window::closeEvent(QCloseEvent* event) {
    if (!close_checked_ && !query_close()) {
        event->ignore();
        return;
    }
    close_checked_ = true;
    if (lastActive == this) activate_next_image_window();
    QMdiSubWindow::closeEvent(event);
}

void image_window::activate_next_image_window() {
    QMdiArea* area = mdiArea();
    if (!area) return;
    // The most recently active image window other than this one; the palette
    // and AVI windows are never chosen. This window is still the active one,
    // so the pens carry over from its image as on any activation.
    const QList<QMdiSubWindow*> order = area->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = order.crbegin(); it != order.crend(); ++it) {
        auto* next = qobject_cast<image_window*>(*it);
        if (!next || next == this || !next->isVisible()) continue;
        area->setActiveSubWindow(next);
        if (lastActive != next) next->activated();
        return;
    }
}
