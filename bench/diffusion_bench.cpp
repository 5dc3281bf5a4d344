// Error-diffusion reduction benchmark, stage by stage, on the test photograph.
//
//   diffusion_bench make FILE           writes the 4224 x 3168 test photograph
//                                       (about 419 000 colours) as PNG
//   diffusion_bench FILE DITHER [ref]   PNG in, 256 colours with dither type
//                                       DITHER (1 = A, 2 = B), PNG out: wall and
//                                       processor seconds of load, census,
//                                       clustering, mapping and save, peak memory
//
// bench/diffusion_bench.sh runs it beside mevra-cli and pngquant.
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "image/image_info.h"
#include "reduce/reduction_state.h"
#include "settings/clgbase.h"

using namespace mevra;

namespace {

// Wall and processor (all threads) time since construction.
struct stopwatch {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    double cpu = cpu_seconds();

    static double cpu_seconds() {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    }
    void print(const char* stage) const {
        const double w =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
        std::printf("  %-10s %7.3f s wall %7.3f s cpu\n", stage, w, cpu_seconds() - cpu);
    }
};

long peak_rss_mib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Smooth light, a dozen shaded objects and sensor grain of +-8 levels,
// deterministic: 4224 x 3168 pixels with 418 544 distinct colours, the size
// and colourfulness of a 13-megapixel camera picture.
image_info test_photograph() {
    constexpr int width = 4224, height = 3168;
    std::mt19937 rng(2024);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    struct disc {
        float x, y, r, red, green, blue;
    };
    std::vector<disc> discs(12);
    for (auto& d : discs)
        d = {unit(rng),          unit(rng),          0.04f + 0.18f * unit(rng),
             255.0f * unit(rng), 255.0f * unit(rng), 255.0f * unit(rng)};
    std::vector<uint32_t> px(static_cast<size_t>(width) * height);
    auto clamp = [](float v) {
        return static_cast<uint32_t>(v < 0.0f ? 0.0f : v > 255.0f ? 255.0f : v);
    };
    for (int y = 0; y < height; ++y) {
        const float fy = static_cast<float>(y) / static_cast<float>(height);
        for (int x = 0; x < width; ++x) {
            const float fx = static_cast<float>(x) / static_cast<float>(width);
            const float grain = static_cast<float>(static_cast<int>(rng() % 17) - 8);
            float r = 120.0f + 80.0f * std::sin(fx * 3.1f + fy * 2.3f + 0.7f);
            float g = 105.0f + 75.0f * std::cos(fx * 2.2f - fy * 3.1f);
            float b = 95.0f + 65.0f * std::sin(fx * fy * 6.3f + 1.0f);
            for (const auto& d : discs) {
                const float dx = fx - d.x, dy = fy - d.y, q = (dx * dx + dy * dy) / (d.r * d.r);
                if (q < 1.0f) {
                    const float shade = 1.0f - 0.6f * q;
                    r = 0.4f * r + 0.6f * shade * d.red;
                    g = 0.4f * g + 0.6f * shade * d.green;
                    b = 0.4f * b + 0.6f * shade * d.blue;
                }
            }
            r += grain;
            g += 0.8f * grain + 0.5f * static_cast<float>(static_cast<int>(rng() % 3) - 1);
            b += 1.2f * grain;
            px[static_cast<size_t>(y) * width + x] =
                0xFF000000u | clamp(r) << 16 | clamp(g) << 8 | clamp(b);
        }
    }
    return image_info(width, height, px.data());
}

int run(const std::string& path, int dither, bool reference) {
    settings().reset_defaults();
    settings().dither_type = dither;
    reduction().reference_path = reference;
    std::printf("%s, 256 colours, error diffusion %c%s:\n", path.c_str(), dither == 1 ? 'A' : 'B',
                reference ? " (reference path)" : "");
    const stopwatch total;

    stopwatch stage;
    image_info img(path);
    if (img.flag == 0) return 1;
    img.image_to_argb();
    stage.print("load");

    stage = stopwatch();
    const int census = img.argb_to_color_index();
    if (census > 0) img.color_num = census;
    stage.print("census");

    stage = stopwatch();
    if (img.image_to_index_pre(256, 0) < 0) return 1;
    int passes = 0;
    while (reduction().colorgroup_num > reduction().target_ncol) {
        img.image_to_index_core();
        ++passes;
    }
    stage.print("clustering");

    stage = stopwatch();
    img.image_to_index_post(256, 0);
    stage.print("mapping");

    stage = stopwatch();
    std::string error;
    if (img.file_save_png(path + ".diffused.png", error) != 0) {
        std::printf("%s\n", error.c_str());
        return 1;
    }
    stage.print("save");
    total.print("total");
    std::printf("  %d colours, %d passes, peak %ld MiB\n", census, passes, peak_rss_mib());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    settings().reset_defaults();
    if (argc == 3 && std::string(argv[1]) == "make") {
        std::string error;
        if (test_photograph().file_save_png(argv[2], error) != 0) {
            std::printf("%s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    if (argc == 3 || (argc == 4 && std::string(argv[3]) == "ref")) {
        const int dither = std::atoi(argv[2]);
        if (dither == 1 || dither == 2) return run(argv[1], dither, argc == 4);
    }
    std::fprintf(stderr, "usage: diffusion_bench make FILE | diffusion_bench FILE 1|2 [ref]\n");
    return 2;
}
