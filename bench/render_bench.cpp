// Times the canvas renderer: the visible part of a 4224 x 3168 picture drawn
// into a canvas of at most 1920 x 1080 (smaller when the zoomed picture is
// smaller), at every zoom level and in every display mode, with the grid on.
// Run by hand on a release build: build/rel/bench/render_bench [frames] [threads]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "image/image_info.h"
#include "render/canvas_renderer.h"
#include "settings/clgbase.h"

using namespace mevra;

namespace {

image_info photo(int w, int h) {
    std::vector<uint32_t> px(static_cast<size_t>(w) * h);
    std::mt19937 rng(1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t a = 128 + ((x ^ y) & 127);
            const uint32_t r = (x * 255 / w + (rng() & 7)) & 0xFF;
            const uint32_t g = (y * 255 / h + (rng() & 7)) & 0xFF;
            const uint32_t b = ((x + y) & 0xFF);
            px[static_cast<size_t>(y) * w + x] = a << 24 | (r << 16) | (g << 8) | b;
        }
    return image_info(w, h, px.data());
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const int threads = argc > 2 ? std::atoi(argv[2]) : 0;
    const int iw = 4224, ih = 3168;
    const image_info argb = photo(iw, ih);
    image_info indexed;  // the same size with a 256-entry colour table
    indexed.width = iw;
    indexed.height = ih;
    indexed.image_type = IMGTYP_256;
    indexed.flag = 1;
    indexed.color_num = 256;
    for (uint32_t i = 0; i < 256; ++i)
        indexed.color.push_back(0x80000000u | i * 0x010203u);
    indexed.index_buff.resize(argb.argb_buff.size());
    for (size_t i = 0; i < argb.argb_buff.size(); ++i)
        indexed.index_buff[i] = static_cast<int32_t>(argb.argb_buff[i] & 0xFF);
    std::vector<uint32_t> out(1920 * 1080);

    std::printf("canvas renderer, %d x %d picture, grid type 0 on, %d frames each, threads=%d\n",
                iw, ih, frames, threads);
    double worst = 0;
    const image_info* pictures[] = {&argb, &indexed};
    for (const image_info* img : pictures) {
        std::printf("%s\n", img == &argb ? "ARGB picture" : "indexed picture");
        std::printf("zoom     canvas      ms/frame: mode0  mode1  mode2  mode3  mode4\n");
        for (int level = 0; level < clgbase::zoom_table_len; ++level) {
            const float z = clgbase::zoom_table[level];
            canvas_view v;
            v.zoom_level = level;
            v.width = std::min(1920, static_cast<int>(static_cast<float>(iw) * z));
            v.height = std::min(1080, static_cast<int>(static_cast<float>(ih) * z));
            // Scrolled to the middle of the zoomed picture.
            v.scroll_x = (static_cast<int>(static_cast<float>(iw) * z) - v.width) / 2;
            v.scroll_y = (static_cast<int>(static_cast<float>(ih) * z) - v.height) / 2;
            v.grid_mode = 1;
            v.grid_type = 0;
            v.tile = background_tile(0);
            v.threads = threads;
            std::printf("%7.4f  %4d x %4d           ", static_cast<double>(z), v.width, v.height);
            for (int mode = 0; mode < 5; ++mode) {
                v.draw_type = mode;
                render_canvas(*img, v, out.data());  // warm-up
                const auto t0 = std::chrono::steady_clock::now();
                for (int f = 0; f < frames; ++f)
                    render_canvas(*img, v, out.data());
                const auto t1 = std::chrono::steady_clock::now();
                const double ms =
                    std::chrono::duration<double, std::milli>(t1 - t0).count() / frames;
                worst = std::max(worst, ms);
                std::printf(" %6.2f", ms);
            }
            std::printf("\n");
        }
    }
    std::printf("slowest frame: %.2f ms\n", worst);
    return 0;
}
