// Turns the resize settings and the image's current size into the target
// rectangle: trim_left/trim_top (where the old top-left pixel lands) and
// trim_width/trim_height. Shared by the menu commands, the batch and the
// command line, so all of them compute the same result for the same settings.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "image/trim_calc.h"

#include "image/image_info.h"
#include "image/trim_size_check.h"
#include "settings/clgbase.h"

namespace mevra {
namespace {

enum trim_mode { size_or_ratio = 0, margins = 1, multiples = 2, powers_of_two = 3 };

struct rect64 {
    int64_t left = 0, top = 0, width = 0, height = 0;
};

// Offset of an axis of `old_size` placed on `new_size`: 0 start, 1 centre, 2 end.
int64_t placement(int style, int64_t new_size, int64_t old_size) {
    switch (style) {
        case 1:
            return (new_size - old_size) / 2;
        case 2:
            return new_size - old_size;
        default:
            return 0;
    }
}

bool size_or_ratio_rect(const trim_choices& s, int64_t W, int64_t H, rect64& r) {
    int64_t w = s.trim_1width, h = s.trim_1height;
    if (s.trim_1size_type == 1) {
        w = image_info::trim_size(static_cast<int>(W), s.trim_1width);
        h = image_info::trim_size(static_cast<int>(H), s.trim_1height);
    }
    if (s.trim_1kotei_mode == 1 || s.trim_1kotei_mode == 2) {
        const float fw = static_cast<float>(w) / static_cast<float>(W);
        const float fh = static_cast<float>(h) / static_cast<float>(H);
        // Fit: the smaller factor wins; cover: the larger one.
        const bool width_follows = s.trim_1kotei_mode == 1 ? fw > fh : !(fw > fh);
        if (width_follows)
            w = W * h / H;
        else
            h = H * w / W;
    }
    r.width = w;
    r.height = h;
    r.left = placement(s.trim_1w_style, w, W);
    r.top = placement(s.trim_1h_style, h, H);
    return true;
}

// Rounds up to a multiple (modes 0-3) or down (4-7, never below one multiple).
bool multiples_rect(int mode, int64_t W, int64_t H, rect64& r) {
    if (mode < 0 || mode > 7) return false;
    if (mode < 4) {
        const int64_t m = int64_t{2} << mode;
        r.width = (W + m - 1) / m * m;
        r.height = (H + m - 1) / m * m;
    } else {
        const int64_t m = int64_t{2} << (mode - 4);
        r.width = std::max(W / m * m, m);
        r.height = std::max(H / m * m, m);
    }
    return true;
}

bool powers_rect(const trim_choices& s, int64_t W, int64_t H, rect64& r) {
    r.width = image_info::ruijo_size(image_info::trim_size(static_cast<int>(W), s.trim_4size));
    r.height = image_info::ruijo_size(image_info::trim_size(static_cast<int>(H), s.trim_4size));
    if (s.trim_4mode == 1) r.width = r.height = std::max(r.width, r.height);
    return true;
}

}  // namespace

trim_choices trim_choices::of(const clgbase& s) {
    trim_choices c;
    c.trim_mode = s.trim_mode;
    c.trim_1w_style = s.trim_1w_style;
    c.trim_1h_style = s.trim_1h_style;
    c.trim_1size_type = s.trim_1size_type;
    c.trim_1kotei_mode = s.trim_1kotei_mode;
    c.trim_1width = s.trim_1width;
    c.trim_1height = s.trim_1height;
    c.trim_2top = s.trim_2top;
    c.trim_2bottom = s.trim_2bottom;
    c.trim_2left = s.trim_2left;
    c.trim_2right = s.trim_2right;
    c.trim_3mode = s.trim_3mode;
    c.trim_4mode = s.trim_4mode;
    c.trim_4size = s.trim_4size;
    return c;
}

int trim_calc_size(const trim_choices& s, int width, int height, trim_rect& out) {
    if (width <= 0 || height <= 0) return -1;
    const int64_t W = width, H = height;
    rect64 r;
    bool ok = false;
    switch (s.trim_mode) {
        case size_or_ratio:
            ok = size_or_ratio_rect(s, W, H, r);
            break;
        case margins:
            r.left = s.trim_2left;
            r.top = s.trim_2top;
            r.width = W + s.trim_2left + s.trim_2right;
            r.height = H + s.trim_2top + s.trim_2bottom;
            ok = true;
            break;
        case multiples:
            ok = multiples_rect(s.trim_3mode, W, H, r);
            break;
        case powers_of_two:
            ok = powers_rect(s, W, H, r);
            break;
        default:
            break;
    }
    if (!ok) return -1;
    out.left = saturate_to_int(r.left);
    out.top = saturate_to_int(r.top);
    out.width = saturate_to_int(r.width);
    out.height = saturate_to_int(r.height);
    return 0;
}

int image_info::trim_calc() const {
    if (flag == 0) return -1;
    clgbase& s = settings();
    trim_rect r;
    if (trim_calc_size(trim_choices::of(s), width, height, r) != 0) return -1;
    s.trim_left = r.left;
    s.trim_top = r.top;
    s.trim_width = r.width;
    s.trim_height = r.height;
    return 0;
}

}  // namespace mevra
