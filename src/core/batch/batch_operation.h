#pragma once
// The operations a batch run can apply to each file, by index 0..16 in the
// order of the batch dialog's list. The command line and the batch dialog both
// go through run_batch_operation, so the same choice always does the same thing.
#include <string>

#include "image/image_info.h"

namespace mevra {

inline constexpr int batch_operation_count = 17;

enum batch_op : int {
    batch_save = 0,
    batch_reduce = 1,
    batch_resize = 2,  // the size dialog opened in "change size" mode
    batch_scale = 3,   // the size dialog opened in "enlarge/shrink" mode
    batch_rotate_right = 4,
    batch_rotate_left = 5,
    batch_flip = 6,
    batch_mirror = 7,
    batch_to_argb = 8,
    batch_luma_to_alpha = 9,
    batch_opaque = 10,
    batch_key_alpha0 = 11,
    batch_mono = 12,
    batch_invert = 13,
    batch_bleed = 14,
    batch_key_to_back = 15,
    batch_key_to_first = 16,
};

// Applies operation `op` to one loaded image with the current settings.
// Resize and scale compute their rectangle from this image's own size
// (trim_calc) and then trim or scale as trim_or_scaling says.
// Returns 0 when done, -1 when refused or failed (already reported through the
// ui port, the image unchanged) or when `op` is no operation.
int run_batch_operation(image_info& img, int op);

// The command-line name of an operation ("rotate-right"), nullptr outside 0..16.
const char* batch_operation_name(int op);
// The text of the operation in the batch dialog's list, nullptr outside 0..16;
// the GUI translates it under the context "batch_operation".
const char* batch_operation_text(int op);
// The index for a name (ASCII case ignored) or for the index written in
// decimal ("4"); -1 for anything else.
int batch_operation_from_name(const std::string& name);

}  // namespace mevra
