#include "image/trim_size_check.h"

#include <string>

#include "platform/image_limits.h"
#include "platform/ui_port.h"
#include "platform/ui_text.h"

namespace mevra {

bool accept_new_size(long long new_width, long long new_height) {
    if (image_size_ok(new_width, new_height)) return true;
    show_message(fill_text(ui_text("resize",
                                   "新しいサイズ %1 x %2 の画像は作れません。\n"
                                   "幅 高さは1 - %3、画素数は%4以下にしてください"),
                           {std::to_string(new_width), std::to_string(new_height),
                            std::to_string(max_image_side), std::to_string(max_image_pixels)}),
                 ui_text("resize", "リサイズ"));
    return false;
}

}  // namespace mevra
