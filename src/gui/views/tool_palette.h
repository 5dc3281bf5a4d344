#pragma once
// What an image window needs of the palette window: the current tool and the
// two pens, read on every mouse event, and the reports it sends back. The
// palette window implements it and the main window hands it to the image
// window class, so the image window never knows the palette window itself.
#include <cstdint>

#include "image/image_types.h"

namespace mevra {
class image_info;
}

class tool_palette {
  public:
    // The current tool (PLTTYP_…). Pens: palette indices for an indexed image
    // (-1: none); for an ARGB image the colours, and the pixel offset of the
    // last eyedropper pick.
    int palette_type = mevra::PLTTYP_SPUIT;
    int color1_pos = -1;
    int color2_pos = -1;
    uint32_t color1_pos_color = 0;
    uint32_t color2_pos_color = 0;

    // Pen widths (index into 1/3/5 dots) and modes (0 ARGB, 1 RGB, 2 alpha).
    virtual int pen1_width() const = 0;
    virtual int pen2_width() const = 0;
    virtual int pen1_mode() const = 0;
    virtual int pen2_mode() const = 0;

    // Refreshes what the palette window shows of the active image.
    virtual void info_update() = 0;
    // Checks the display-mode button for `draw_type` (above 3: the subtractive one).
    virtual void set_draw_type_button(int draw_type) = 0;
    // Shows the pointer's image position.
    virtual void set_mouse_position(int x, int y) = 0;

    // Carries the pens over when the active image changes from `previous`
    // (none: nullptr) to `next`: from an indexed image into an ARGB one the pens
    // take the palette colours they pointed at; from ARGB into indexed they
    // drop their indices and become opaque white and black.
    void carry_pens(const mevra::image_info* previous, const mevra::image_info& next);

  protected:
    ~tool_palette() = default;
};
