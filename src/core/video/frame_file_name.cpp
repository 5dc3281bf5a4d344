#include "video/frame_file_name.h"

#include <cstdio>

namespace mevra {

std::string aviren_file_name(const std::string& stem, int joiner, int digits_index, int type,
                             int number) {
    static const char* const joiners[] = {"", "_", "-"};
    static const char* const extensions[] = {"bmp", "jpg", "png", "tif", "gif", "tga", "dds"};
    if (joiner < 0 || joiner > 2) joiner = 0;
    if (digits_index < 0 || digits_index > 4) digits_index = 0;
    if (type < 0 || type > 6) type = 0;
    char digits[32];
    std::snprintf(digits, sizeof digits, "%0*d", 4 + digits_index, number);
    return stem + joiners[joiner] + digits + "." + extensions[type];
}

}  // namespace mevra
