#pragma once
// The palette and tool window: current tool, the two pens, display-mode
// buttons, the active image's palette grid, image information, the pointer's
// image position and the magnified cursor view.
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "image/image_types.h"
#include "views/tool_palette.h"

class QLabel;
class QComboBox;
class QMouseEvent;
class QPainter;
class QTimer;
class colour_dialog;
class click_label;
class image_window;
class paint_surface;
class tool_button;
class QToolButton;
namespace mevra {
class image_info;
}

// The tool and pen state it shares with the image windows is its
// tool_palette side.
class palette_window : public QWidget, public tool_palette {
    Q_OBJECT
  public:
    explicit palette_window(QWidget* parent = nullptr);
    ~palette_window() override;

    // Refreshes the information labels and repaints the palette grid.
    void info_update() override;
    void set_draw_type_button(int draw_type) override;
    // Writes the pointer's image position ("X : n", "Y : n").
    void set_mouse_position(int x, int y) override;

    int pen1_width() const override;
    int pen2_width() const override;
    int pen1_mode() const override;
    int pen2_mode() const override;

    // Exchanges palette entries a and b of the active indexed image: pixels,
    // colours and counts, then one undo state.
    void move_palette(int a, int b);

    // Which control opened the colour editor; decides the pen and where the
    // dialog appears so that the matching bar lies under the pointer.
    enum edit_origin { FROM_GRID, FROM_PEN2_SWATCH, FROM_ALPHA, FROM_RED, FROM_GREEN, FROM_BLUE };
    // Opens the colour dialog for pen 1 or pen 2 (`pen` 1 or 2) at `pointer`.
    void edit_color(int pen, edit_origin origin, QPoint pointer);

    // "Load palette…": a palette file's colours in place of the active indexed
    // image's colour table, or a full-colour image reduced onto them with the
    // current dither settings; one undo step. `path` empty asks with a dialog.
    void load_palette(const QString& path = QString());
    // "Save palette…": the active image's palette (its table, or the colours of
    // a full-colour image of at most 256) in the type of the chosen filter.
    void save_palette();

    // One tick of the magnified cursor view (normally run by cursor_timer).
    void cursor_view_tick();

    int palette_release = 0;
    int move_color_pos = 0;
    Qt::MouseButton last_button = Qt::NoButton;

    // The AVI player window, wired by the main window: its repaint, and whether
    // it is playing (a playing player draws on its own and must not be repainted
    // from here). Used by the zoom and display-mode buttons when no image
    // window is active.
    std::function<void()> repaint_avi;
    std::function<bool()> avi_playing;
    // The image window in charge, as the main window knows it (none while unset).
    std::function<image_window*()> active_window;

    colour_dialog* colour_editor = nullptr;

  private:
    image_window* active_image_window() const { return active_window ? active_window() : nullptr; }
    void build_tool_buttons();
    void build_draw_type_buttons();
    void build_pen_controls();
    void build_info_labels();
    void build_palette_file_buttons();

    void tool_pressed(int index);
    void tool_released(int index);
    void select_tool_button(int index);
    void draw_type_clicked(int mode);
    void repaint_avi_unless_playing();

    // Repaints the grid and updates the swatches and pen 1 values with it.
    void refresh_grid();
    // The non-drawing half of the grid refresh: swatches, pen 1 values, PixNum.
    void update_pen_views();
    void grid_paint(QPainter& painter);
    void grid_press(QMouseEvent* event);
    void grid_release(QMouseEvent* event);
    void grid_double_click(QMouseEvent* event);
    void exchange_pens();
    void preview_color(int pos, uint32_t argb);

    // The five tool buttons in the order Pen1, Spuit, Zoom in, Zoom out, Pen2
    // (pen1_tool, picker_tool, zoom_in_tool, zoom_out_tool, pen2_tool).
    std::array<tool_button*, 5> tool_buttons_{};
    std::array<QToolButton*, 5> draw_type_buttons_{};
    QComboBox* pen1_width_combo = nullptr;
    QComboBox* pen2_width_combo = nullptr;
    QComboBox* pen1_mode_combo = nullptr;
    QComboBox* pen2_mode_combo = nullptr;
    paint_surface* palette_grid = nullptr;
    click_label* pen1_swatch = nullptr;
    click_label* pen2_swatch = nullptr;
    click_label* exchange_pens_label = nullptr;
    std::array<click_label*, 4> value_labels_{};  // A, R, G, B
    QLabel* pixel_count_label = nullptr;
    QLabel* colour_count_label = nullptr;
    QLabel* image_mode_label = nullptr;
    QLabel* cursor_colour_label = nullptr;
    QLabel* pointer_x_label = nullptr;
    QLabel* pointer_y_label = nullptr;
    QLabel* size_label = nullptr;
    QLabel* cursor_view_label = nullptr;
    QLabel* zoom_label = nullptr;
    QTimer* cursor_timer = nullptr;
    bool capture_error_reported_ = false;
};
