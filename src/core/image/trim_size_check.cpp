#include "image/trim_size_check.h"

#include <string>

#include "platform/image_limits.h"
#include "platform/ui_port.h"

namespace mevra {

bool accept_new_size(long long new_width, long long new_height) {
    if (image_size_ok(new_width, new_height)) return true;
    show_message("新しいサイズ " + std::to_string(new_width) + " x " + std::to_string(new_height) +
                     " の画像は作れません。\n幅 高さは1 - " + std::to_string(max_image_side) +
                     "、画素数は" + std::to_string(max_image_pixels) + "以下にしてください",
                 "リサイズ");
    return false;
}

}  // namespace mevra
