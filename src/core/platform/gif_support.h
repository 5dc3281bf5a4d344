#pragma once
// Pieces shared by the still and the animated GIF encoder (giflib).
#include <gif_lib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace mevra::gif {

// giflib's output callback: appends to the std::vector<uint8_t> in UserData.
inline int append_output(GifFileType* file, const GifByteType* data, int length) {
    auto& out = *static_cast<std::vector<uint8_t>*>(file->UserData);
    if (length > 0) out.insert(out.end(), data, data + length);
    return length;
}

// The first palette entry with alpha 0, or -1.
inline int transparent_index(const std::vector<uint32_t>& palette) {
    for (size_t i = 0; i < palette.size(); ++i) {
        if ((palette[i] >> 24) == 0) return static_cast<int>(i);
    }
    return -1;
}

inline std::string error_text(int code) {
    const char* text = GifErrorString(code);
    return std::string("GIF encoder: ") + (text ? text : "unknown error");
}

}  // namespace mevra::gif
