// Times rotation, mirroring, trimming and scaling of a 12-megapixel picture.
// Run by hand on a release build: build/rel/bench/transform_bench [width height]
#include <malloc.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <vector>

#include "image/image_info.h"
#include "settings/clgbase.h"

using namespace mevra;

namespace {

image_info photo(int w, int h) {
    std::vector<uint32_t> px(static_cast<size_t>(w) * h);
    std::mt19937 rng(1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t r = (x * 255 / w + (rng() & 7)) & 0xFF;
            const uint32_t g = (y * 255 / h + (rng() & 7)) & 0xFF;
            const uint32_t b = ((x + y) & 0xFF);
            px[static_cast<size_t>(y) * w + x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    return image_info(w, h, px.data());
}

struct times {
    double wall_ms, cpu_ms;
};

template <class F>
times run_once(const image_info& source, F& op, int& w, int& h) {
    image_info img = source;
    const std::clock_t c0 = std::clock();
    const auto t0 = std::chrono::steady_clock::now();
    op(img);
    const auto t1 = std::chrono::steady_clock::now();
    const std::clock_t c1 = std::clock();
    w = img.width;
    h = img.height;
    return {std::chrono::duration<double, std::milli>(t1 - t0).count(),
            1000.0 * static_cast<double>(c1 - c0) / CLOCKS_PER_SEC};
}

// Runs the operation twice on fresh copies. The first run also pays for memory
// the process touches for the first time (very costly on a virtual machine);
// the second shows the operation itself. CPU time is printed next to wall time
// because the wall clock also counts other programs sharing the cores.
template <class F>
void timed(const char* what, const image_info& source, F op) {
    int w = 0, h = 0;
    const times cold = run_once(source, op, w, h);
    const times warm = run_once(source, op, w, h);
    std::printf("%-30s %6d x %-6d  first %7.1f ms (cpu %7.1f)  again %7.1f ms (cpu %7.1f)\n", what,
                w, h, cold.wall_ms, cold.cpu_ms, warm.wall_ms, warm.cpu_ms);
}

}  // namespace

int main(int argc, char** argv) {
    const int w = argc > 2 ? std::atoi(argv[1]) : 4000;
    const int h = argc > 2 ? std::atoi(argv[2]) : 3000;
    // Keep freed memory in the process so that the second run reuses it.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 0x7FFFFFFF);
    const image_info src = photo(w, h);
    std::printf("source %d x %d (%.1f megapixels)\n", w, h, w * double(h) / 1e6);

    timed("rotate right", src, [](image_info& i) { i.flip_and_rotate(0); });
    timed("rotate left", src, [](image_info& i) { i.flip_and_rotate(1); });
    timed("flip", src, [](image_info& i) { i.flip_and_rotate(2); });
    timed("mirror", src, [](image_info& i) { i.flip_and_rotate(3); });
    timed("invert", src, [](image_info& i) { i.color_one_calc(4); });
    timed("fill transparent (all opaque)", src, [](image_info& i) { i.color_one_calc(5); });
    timed("trim: 64-pixel margins", src,
          [&](image_info& i) { i.image_triming(64, 64, w + 128, h + 128); });
    const struct {
        const char* name;
        double fx, fy;
    } factors[] = {{"scale x0.1", 0.1, 0.1},
                   {"scale x0.5", 0.5, 0.5},
                   {"scale x0.999", 0.999, 0.999},
                   {"scale x1.001", 1.001, 1.001},
                   {"scale x1.5", 1.5, 1.5},
                   {"scale x2", 2.0, 2.0},
                   {"scale x3", 3.0, 3.0},
                   {"scale x2 wide, x0.5 high", 2.0, 0.5},
                   {"scale x0.5 wide, x2 high", 0.5, 2.0}};
    for (const auto& f : factors) {
        const int nw = static_cast<int>(w * f.fx), nh = static_cast<int>(h * f.fy);
        timed(f.name, src, [&](image_info& i) { i.image_scaling(nw, nh); });
    }
    return 0;
}
