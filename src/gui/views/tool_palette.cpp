#include "views/tool_palette.h"
#include "views/indexed_image.h"

#include "image/image_info.h"

using namespace mevra;

void tool_palette::carry_pens(const image_info* previous, const image_info& next) {
    if (!previous) return;
    if (is_indexed(*previous) && next.image_type == IMGTYP_RGB) {
        if (in_palette(*previous, color1_pos))
            color1_pos_color = previous->color[static_cast<size_t>(color1_pos)];
        if (in_palette(*previous, color2_pos))
            color2_pos_color = previous->color[static_cast<size_t>(color2_pos)];
    } else if (previous->image_type == IMGTYP_RGB && is_indexed(next)) {
        color1_pos = -1;
        color2_pos = -1;
        color1_pos_color = 0xFFFFFFFFu;
        color2_pos_color = 0xFF000000u;
    }
}
