#pragma once
// Shared by the fuzz targets: a silent message port, a scratch file on a
// memory file system, a filter for inputs that would only make the run slow,
// and a check of the image model's invariants after a successful load.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "image/image_info.h"
#include "platform/ui_port.h"

namespace mevra::fuzz {

class silent_ui final : public ui_port {
  public:
    silent_ui() { set_ui_port(this); }
    msg_answer message_box(const std::string&, const std::string&, msg_buttons) override {
        return msg_answer::ok;
    }
    void debug_line(const std::string&) override {}
};

inline std::string scratch_path(const std::string& ext) {
    return "/dev/shm/mevra-fuzz-" + std::to_string(::getpid()) + ext;
}

inline void write_scratch(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// Sizes that the readers accept but that cost a large allocation and a long
// decode: legitimate, yet they only slow the search down. The refusal of
// larger sizes stays in reach.
inline bool accepted_but_large(int64_t w, int64_t h) {
    return w > 0 && h > 0 && w <= 32768 && h <= 32768 && w * h > (int64_t{1} << 16);
}

inline uint32_t le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
}
inline uint32_t be32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

inline bool too_slow(const uint8_t* data, size_t size) {
    // Short files read as zeros past their end, so look at a zero-padded header.
    uint8_t d[32] = {};
    for (size_t i = 0; i < size && i < sizeof d; ++i)
        d[i] = data[i];
    if (accepted_but_large(d[12] | (d[13] << 8), d[14] | (d[15] << 8))) return true;
    if (d[0] == 'B' && d[1] == 'M') {
        // The 12-byte core header holds 16-bit sizes, the others 32-bit ones.
        if (le32(d + 14) == 12
                ? accepted_but_large(d[18] | (d[19] << 8), d[20] | (d[21] << 8))
                : accepted_but_large(static_cast<int32_t>(le32(d + 18)),
                                     // top-down files store a negative height
                                     std::abs(int64_t{static_cast<int32_t>(le32(d + 22))})))
            return true;
    }
    if (d[0] == 'D' && d[1] == 'D' && d[2] == 'S' && d[3] == ' ' &&
        accepted_but_large(le32(d + 16), le32(d + 12)))
        return true;
    if (d[0] == 'G' && d[1] == 'I' && d[2] == 'F' &&
        accepted_but_large(d[6] | (d[7] << 8), d[8] | (d[9] << 8)))
        return true;  // the platform decoder's GIF canvas is the logical screen
    return d[0] == 0x89 && d[1] == 'P' && accepted_but_large(be32(d + 16), be32(d + 20));
}

// Aborts when a loaded object breaks the model's rules.
inline void check_loaded(const image_info& img) {
    const size_t pixels = static_cast<size_t>(img.pixel_count());
    bool ok = img.flag == 1 && img.width > 0 && img.height > 0;
    if (img.image_type == IMGTYP_RGB) {
        ok = ok && img.argb_buff.size() == pixels && img.index_buff.empty() && img.color_num == 0;
    } else {
        ok = ok && img.index_buff.size() == pixels && img.argb_buff.empty() &&
             img.color.size() >= 256 && img.color_cnt.size() >= 256 && img.color_num >= 0 &&
             img.color_num <= static_cast<int>(img.color.size());
        int64_t counted = 0;
        for (size_t i = 0; ok && i < img.color_cnt.size(); ++i)
            counted += img.color_cnt[i];
        ok = ok && counted == static_cast<int64_t>(pixels);
        for (size_t p = 0; ok && p < pixels; ++p)
            ok =
                img.index_buff[p] >= 0 && static_cast<size_t>(img.index_buff[p]) < img.color.size();
    }
    if (!ok) {
        std::fprintf(stderr, "loaded image breaks the model's rules\n");
        std::abort();
    }
}

}  // namespace mevra::fuzz
