#include "views/mdichild.h"

#include <QCloseEvent>
#include <QMdiArea>

#include "platform/ui_port.h"
#include "platform/ui_text.h"
#include "settings/clgbase.h"
#include "views/image_canvas.h"
#include "views/tool_palette.h"

mdichild* mdichild::lastActive = nullptr;
tool_palette* mdichild::fpalette = nullptr;
int mdichild::start_count = 0;

int mdichild::check_mdi() {
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

mdichild::mdichild(QWidget* parent) : QMdiSubWindow(parent) {
    setObjectName("mdichild");
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(128, 96);
    view_ = new image_view(this);
    canvas_ = new image_canvas([this] { return image.get(); }, view_, view_->viewport());
    canvas_->setGeometry(0, 0, 320, 240);
    connect(view_, &image_view::scrolled, this, [this] {
        imageReSize();
        imageRePaint();
    });
    connect(view_, &image_view::resized, this, &mdichild::imageReSize);
    connect(canvas_, &image_canvas::mouse_pressed, this, &mdichild::canvas_mouse_press);
    connect(canvas_, &image_canvas::mouse_moved, this, &mdichild::canvas_mouse_move);
    connect(canvas_, &image_canvas::mouse_released, this, &mdichild::canvas_mouse_release);
    view_->set_extent(320, 240);
    setWidget(view_);
    resize(QSize(355, 248) + frame_overhead());
    connect(this, &QMdiSubWindow::aboutToActivate, this, &mdichild::mdichild_Activated);
}

mdichild::~mdichild() {
    // Only this window's own entry is cleared: the window the frame activates
    // next stays the active one, and no stale pointer is left behind.
    if (lastActive == this) lastActive = nullptr;
    image.reset();
    undo_list.clear();
    if (fpalette) fpalette->info_update();
}

QSize mdichild::frame_overhead() {
    ensurePolished();
    const QMargins m = contentsMargins();
    return QSize(m.left() + m.right(), m.top() + m.bottom());
}

int mdichild::childFileOpen(const QString& path) {
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

QPoint mdichild::scroll_offset() const {
    return view_->scroll_offset();
}

void mdichild::mdichild_zoom_change() {
    if (image) {
        const QSize zoomed = zoomed_size(*image, zoom_factor(image->zoom_scale_level));
        view_->set_extent(zoomed.width(), zoomed.height());
    }
    imageReSize();
    imageRePaint();
    if (fpalette) fpalette->info_update();
}

void mdichild::imageReSize() {
    if (!image) return;
    const QSize zoomed = zoomed_size(*image, zoom_factor(image->zoom_scale_level));
    const QSize client = view_->viewport()->size();
    canvas_->setGeometry(0, 0, std::min(zoomed.width(), client.width()),
                         std::min(zoomed.height(), client.height()));
}

void mdichild::imageRePaint() {
    canvas_->update();
}

// ---------------------------------------------------------------------------
// Undo: index 0 is the newest state; undo_pos is the state shown.

void mdichild::undo_add() {
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

void show_state(mdichild& child) {
    const int zoom = child.image ? child.image->zoom_scale_level : mevra::settings().zoom_level;
    // The old picture goes first, so only one extra copy exists at a time.
    child.image.reset();
    child.image =
        std::make_unique<mevra::image_info>(*child.undo_list[static_cast<size_t>(child.undo_pos)]);
    child.image->zoom_scale_level = zoom;
    child.mdichild_zoom_change();
}

}  // namespace

// At either end of the history nothing happens: showing the same state again
// would drop what the view changed since it was recorded (grid, display mode).
void mdichild::undo_image() {
    if (undo_pos >= static_cast<int>(undo_list.size()) - 1) return;
    ++undo_pos;
    show_state(*this);
}

void mdichild::redo_image() {
    if (undo_pos <= 0 || undo_list.empty()) return;
    --undo_pos;
    show_state(*this);
}

// ---------------------------------------------------------------------------
// Activation: pens change meaning between indexed and ARGB images.

void mdichild::mdichild_Activated() {
    if (fpalette && image) {
        const mevra::image_info* previous =
            lastActive && lastActive != this ? lastActive->image.get() : nullptr;
        fpalette->carry_pens(previous, *image);
    }
    lastActive = this;
    if (fpalette && image) {
        fpalette->set_draw_type_button(image->draw_type);
        fpalette->info_update();
    }
}

// ---------------------------------------------------------------------------
// Closing

bool mdichild::query_close() {
    if (edit_change == 0) return true;
    const std::string text = windowTitle().toStdString() + "\n" +
                             mevra::ui_text("mdichild", "닫기 전에 수정 사항을 저장합니까?  ");
    switch (mevra::ui().message_box(text, mevra::ui_text("mdichild", "저장 "),
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

void mdichild::discard() {
    close_checked_ = true;
    delete this;
}

void mdichild::closeEvent(QCloseEvent* event) {
    if (!close_checked_ && !query_close()) {
        event->ignore();
        return;
    }
    close_checked_ = true;
    if (lastActive == this) activate_next_image_window();
    QMdiSubWindow::closeEvent(event);
}

void mdichild::activate_next_image_window() {
    QMdiArea* area = mdiArea();
    if (!area) return;
    // The most recently active image window other than this one; the palette
    // and AVI windows are never chosen. This window is still the active one,
    // so the pens carry over from its image as on any activation.
    const QList<QMdiSubWindow*> order = area->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = order.crbegin(); it != order.crend(); ++it) {
        auto* next = qobject_cast<mdichild*>(*it);
        if (!next || next == this || !next->isVisible()) continue;
        area->setActiveSubWindow(next);
        if (lastActive != next) next->mdichild_Activated();
        return;
    }
}
