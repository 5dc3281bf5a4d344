#pragma once
// The image window: an MDI child that shows and edits one image, keeps its
// undo list and saves it. The class-wide `lastActive` is the window every
// command of the main window and the palette window acts on.
#include <QMdiSubWindow>
#include <QString>
#include <memory>
#include <vector>

#include "image/image_info.h"

class tool_palette;
class image_canvas;
class image_view;
class QMouseEvent;
class QCloseEvent;

class image_window : public QMdiSubWindow {
    Q_OBJECT
  public:
    static constexpr int UNDO_MAX = 33;

    // --- class-wide state ---
    static image_window* lastActive;
    // The palette window, as far as the image windows use it; set by the main window.
    static tool_palette* tools;
    static int start_count;
    // 1 when an image window is active, else 0.
    static int check_mdi();

    explicit image_window(QWidget* parent = nullptr);
    ~image_window() override;

    // Loads `path` into this window and places it in the cascade; 0 or -1.
    int open_file(const QString& path);
    void repaint_image();
    void fit_to_image();
    void zoom_changed();

    void undo_add();
    void undo_image();
    void redo_image();

    // 0 saves to the title's path in the image's own format when possible;
    // 1 always asks for a name and format first. True when the image was
    // written (false also when the dialog was cancelled).
    bool save_image(int mode);
    bool save_file(int format, const QString& path);

    // The unsaved-changes question; false when the window must stay open.
    bool query_close();
    // Closes and destroys the window without asking (failed open, exit).
    void discard();
    // Pen colours carried over from the previously active window, the
    // palette window's display-mode button and information.
    void activated();

    image_canvas* canvas() const { return canvas_; }
    image_view* view() const { return view_; }

    // Scroll offset of the canvas (sx, sy) in screen pixels.
    QPoint scroll_offset() const;

    // --- per-window state ---
    std::unique_ptr<mevra::image_info> image;
    std::vector<std::unique_ptr<mevra::image_info>> undo_list;  // newest first
    int undo_pos = 0;
    int edit_change = 0;
    int pen_sw = -1;
    int pen_x = -1;
    int pen_y = -1;

    // Mouse and pen handling on the canvas (image_window_tools.cpp).
    void canvas_mouse_press(QMouseEvent* event);
    void canvas_mouse_move(QMouseEvent* event);
    void canvas_mouse_release(QMouseEvent* event);
    // Chooses the pen for the buttons held; false when none applies.
    bool check_colpos_type(Qt::MouseButtons buttons, int& c, int& width, int& mode) const;
    void pen_draw(int x, int y, int c, int width, int mode);
    void pen_draw_sub(int x, int y, int c, int width, int mode);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Size of the title bar and borders around the client area.
    QSize frame_overhead();
    // Closing the active window hands the activation on, as the frame does.
    void activate_next_image_window();

    image_view* view_ = nullptr;
    image_canvas* canvas_ = nullptr;
    bool close_checked_ = false;
};
