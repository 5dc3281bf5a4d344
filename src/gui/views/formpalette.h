#pragma once
// The palette and tool window: current tool, the two pens, display-mode
// buttons, the active image's palette grid, image information, the pointer's
// image position and the magnified cursor view.
#include <QWidget>
#include <cstdint>

#include "image/image_types.h"

class QLabel;
class QComboBox;
class QRadioButton;
class DlgColor;

class formpalette : public QWidget {
    Q_OBJECT
  public:
    explicit formpalette(QWidget* parent = nullptr);
    ~formpalette() override;

    // Refreshes the information labels and repaints the palette grid.
    void info_update();
    // Checks the display-mode button for `draw_type` (above 3: the subtractive one).
    void set_draw_type_button(int draw_type);
    // Writes the pointer's image position ("X : n", "Y : n").
    void set_mouse_position(int x, int y);

    // Pen widths (index into 1/3/5 dots) and modes (0 ARGB, 1 RGB, 2 alpha).
    int pen1_width() const;
    int pen2_width() const;
    int pen1_mode() const;
    int pen2_mode() const;

    void move_palette(int a, int b);

    int palette_type = mevra::PLTTYP_SPUIT;
    int palette_release = 0;
    int color1_pos = -1;
    int color2_pos = -1;
    uint32_t color1_pos_color = 0;
    uint32_t color2_pos_color = 0;
    int move_color_pos = 0;
};
