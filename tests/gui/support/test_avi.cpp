#include "support/test_avi.h"

#include <gtest/gtest.h>

#include <vector>

#include "video/avi_writer.h"
#include "video/frame_bitmap.h"

namespace mevra::test {

uint32_t test_avi_colour(int n) {
    return 0xFF000000u | static_cast<uint32_t>(n * 40) << 16 |
           static_cast<uint32_t>(200 - n * 30) << 8 | 0x11u;
}

void write_test_avi(const std::string& path) {
    avi_encode_options opt;
    opt.encoder = "rawvideo";
    opt.raw_bits = 24;
    avi_writer writer;
    std::string error;
    const int w = test_avi_width, h = test_avi_height;
    ASSERT_EQ(writer.open(path, w, h, 10, 1, 24, opt, error), 0) << error;
    for (int n = 0; n < test_avi_frames; ++n) {
        std::vector<uint8_t> dib = make_dib(w, h, 24, {});
        uint8_t* px = dib_pixels(dib, 0);
        const int64_t stride = dib_stride(w, 24);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int k = 0; k < 3; ++k)
                    px[y * stride + x * 3 + k] =
                        static_cast<uint8_t>(test_avi_colour(n) >> (8 * k));
        ASSERT_EQ(writer.write_frame(n, dib, error), 0) << error;
    }
    ASSERT_EQ(writer.finish(error), 0) << error;
}

}  // namespace mevra::test
