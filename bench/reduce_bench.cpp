// Colour reduction benchmark: times each stage (census, grouping, merge
// passes, mapping) and reports the pass count and the process's peak memory.
//
//   reduce_bench                      every size, target and dither on synthetic images
//   reduce_bench MP TARGET DITHER     one synthetic photo of MP megapixels
//   reduce_bench FILE TARGET DITHER   one image file, end to end: load, reduce, save PNG
//   reduce_bench make MP FILE         writes a synthetic photo of MP megapixels as PNG
// Add "ref" as a last argument to time the straightforward reference path.
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "image/image_info.h"
#include "reduce/reduction_state.h"
#include "settings/clgbase.h"

using namespace mevra;

namespace {

using clock_type = std::chrono::steady_clock;

double seconds_since(clock_type::time_point t0) {
    return std::chrono::duration<double>(clock_type::now() - t0).count();
}

long peak_rss_mib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Smooth shapes with fine grain, like a photograph: a few hundred thousand
// distinct colours at 12 megapixels.
image_info photo_like(int width, int height, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint32_t> px(static_cast<size_t>(width) * height);
    auto clamp = [](float v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    for (int y = 0; y < height; ++y) {
        const float fy = static_cast<float>(y) / static_cast<float>(height);
        for (int x = 0; x < width; ++x) {
            const float fx = static_cast<float>(x) / static_cast<float>(width);
            const float grain = static_cast<float>(static_cast<int>(rng() % 5) - 2);
            const float r = 128 + 100 * std::sin(fx * 5.1f + fy * 2.3f) + grain;
            const float g = 110 + 90 * std::cos(fx * 3.7f - fy * 4.4f) + 0.7f * grain;
            const float b = 90 + 80 * std::sin(fx * 1.3f * fy * 7.9f + 1.0f) + 1.3f * grain;
            px[static_cast<size_t>(y) * width + x] =
                0xFF000000u | clamp(r) << 16 | clamp(g) << 8 | clamp(b);
        }
    }
    return image_info(width, height, px.data());
}

// Flat posterised areas with a key colour and translucent parts.
image_info synthetic_flat(int width, int height) {
    std::vector<uint32_t> px(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t cell = static_cast<uint32_t>((x / 37) * 7 + (y / 23) * 13) % 600;
            const uint32_t a = cell % 5 == 0 ? 0x80u : 0xFFu;
            px[static_cast<size_t>(y) * width + x] = a << 24 | (cell * 2654435761u & 0xFFFFFFu);
        }
    return image_info(width, height, px.data());
}

size_t distinct_colours(const image_info& img) {
    std::unordered_set<uint32_t> seen(img.argb_buff.begin(), img.argb_buff.end());
    return seen.size();
}

void run(const char* name, const image_info& source, int target, int dither, bool reference) {
    settings().dither_type = dither;
    reduction().reference_path = reference;
    image_info img = source;
    const auto t0 = clock_type::now();
    const int census = img.argb_to_color_index();
    if (census > 0) img.color_num = census;
    const double t_census = seconds_since(t0);
    const auto t1 = clock_type::now();
    if (img.image_to_index_pre(target, 0) < 0) {
        std::printf("%s: refused\n", name);
        return;
    }
    const double t_pre = seconds_since(t1);
    const auto t2 = clock_type::now();
    int passes = 0;
    while (reduction().colorgroup_num > reduction().target_ncol) {
        img.image_to_index_core();
        ++passes;
    }
    const double t_passes = seconds_since(t2);
    const auto t3 = clock_type::now();
    img.image_to_index_post(target, 0);
    const double t_map = seconds_since(t3);
    std::printf(
        "%-12s %5.1f MP target %3d dither %d%s: census %.3f s, groups %.3f s, %d passes %.3f s, "
        "mapping %.3f s, total %.3f s, peak %ld MiB\n",
        name, static_cast<double>(img.pixel_count()) / 1e6, target, dither,
        reference ? " (reference)" : "", t_census, t_pre, passes, t_passes, t_map,
        seconds_since(t0), peak_rss_mib());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    settings().reset_defaults();
    const bool reference = argc > 1 && std::string(argv[argc - 1]) == "ref";
    if (reference) --argc;
    if (argc >= 4 && std::string(argv[1]) == "make") {
        const double mp = std::strtod(argv[2], nullptr);
        const int w = static_cast<int>(std::sqrt(mp * 1e6 * 4 / 3));
        const image_info img = photo_like(w, static_cast<int>(mp * 1e6 / w), 1);
        std::string error;
        if (img.file_save_png(argv[3], error) != 0) {
            std::printf("%s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    if (argc >= 4) {
        const std::string what = argv[1];
        const int target = std::atoi(argv[2]), dither = std::atoi(argv[3]);
        char* end = nullptr;
        const double mp = std::strtod(what.c_str(), &end);
        image_info img;
        if (end && *end == '\0' && mp > 0) {
            const int w = static_cast<int>(std::sqrt(mp * 1e6 * 4 / 3));
            img = photo_like(w, static_cast<int>(mp * 1e6 / w), 1);
        } else {
            const auto t0 = clock_type::now();
            img = image_info(what);
            if (img.flag == 0) return 1;
            img.image_to_argb();
            const double t_load = seconds_since(t0);
            run("stages", img, target, dither, reference);
            settings().dither_type = dither;
            reduction().reference_path = reference;
            const auto t1 = clock_type::now();
            img.image_to_index(target);
            const double t_reduce = seconds_since(t1);
            const auto t2 = clock_type::now();
            std::string error;
            img.file_save_png(what + ".reduced.png", error);
            std::printf(
                "%s: load %.3f s, reduce %.3f s (%d passes), save %.3f s, "
                "end to end %.3f s, peak %ld MiB\n",
                what.c_str(), t_load, t_reduce, reduction().last_pass_count, seconds_since(t2),
                seconds_since(t0), peak_rss_mib());
            return 0;
        }
        std::printf("%d x %d, %zu distinct colours\n", img.width, img.height,
                    distinct_colours(img));
        run("image", img, target, dither, reference);
        return 0;
    }
    for (double mp : {1.0, 3.0, 12.0}) {
        const int w = static_cast<int>(std::sqrt(mp * 1e6 * 4 / 3)),
                  h = static_cast<int>(mp * 1e6 / w);
        const image_info photo = photo_like(w, h, 1);
        const image_info flat = synthetic_flat(w, h);
        std::printf("photo %d x %d: %zu colours; flat: %zu colours\n", w, h,
                    distinct_colours(photo), distinct_colours(flat));
        for (int target : {256, 16})
            for (int dither = 0; dither < 4; ++dither) {
                run("photo", photo, target, dither, reference);
                run("flat", flat, target, dither, reference);
            }
    }
    return 0;
}
