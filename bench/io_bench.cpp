// File input and output speed on a photograph: the phases of a PNG -> PNG and
// a PNG -> DDS conversion (load, encode, write) and the output sizes.
//
//   io_bench make FILE      writes the synthetic 4224 × 3168 test photograph
//   io_bench phases FILE    times load, PNG save and DXT5 / DXT3 saves of FILE
//
// The photograph is made, not shipped: smooth light, a few objects with edges,
// a fine texture and sensor grain, about 420 thousand distinct colours, which
// is what a 13-megapixel camera picture of an everyday scene has.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "image/image_info.h"
#include "settings/clgbase.h"

using namespace mevra;

namespace {

using clock_type = std::chrono::steady_clock;

double seconds_since(clock_type::time_point t0) {
    return std::chrono::duration<double>(clock_type::now() - t0).count();
}

// Processor time of the whole process, every thread included.
double cpu_seconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

long peak_rss_mib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Smooth value noise on a lattice of `cell` pixels.
class value_noise {
  public:
    value_noise(int cells_x, int cells_y, uint32_t seed) : w_(cells_x + 2), h_(cells_y + 2) {
        std::mt19937 rng(seed);
        std::uniform_real_distribution<float> u(-1.0f, 1.0f);
        v_.resize(static_cast<size_t>(w_) * h_);
        for (auto& v : v_) v = u(rng);
    }
    float at(float x, float y) const {
        const int ix = static_cast<int>(x), iy = static_cast<int>(y);
        const float fx = x - ix, fy = y - iy;
        const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
        auto v = [&](int a, int b) { return v_[static_cast<size_t>(b) * w_ + a]; };
        const float top = v(ix, iy) + (v(ix + 1, iy) - v(ix, iy)) * sx;
        const float bottom = v(ix, iy + 1) + (v(ix + 1, iy + 1) - v(ix, iy + 1)) * sx;
        return top + (bottom - top) * sy;
    }

  private:
    int w_, h_;
    std::vector<float> v_;
};

image_info test_photograph(int width, int height) {
    std::mt19937 rng(2024);
    std::normal_distribution<float> grain(0.0f, 0.9f);
    const value_noise light(16, 12, 1), tint_r(9, 7, 3), tint_b(9, 7, 4), fine(260, 200, 2);
    std::vector<uint32_t> px(static_cast<size_t>(width) * height);
    auto clamp = [](float v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    for (int y = 0; y < height; ++y) {
        const float fy = static_cast<float>(y) / height;
        for (int x = 0; x < width; ++x) {
            const float fx = static_cast<float>(x) / width;
            // Broad light and shade, with colour casts that wander independently.
            const float l = 0.55f + 0.4f * light.at(fx * 15, fy * 11);
            float r = 30 + 200 * l * (1.0f - 0.4f * fy) + 18 * tint_r.at(fx * 8, fy * 6);
            float g = 35 + 190 * l;
            float b = 25 + 210 * l * (0.5f + 0.6f * (1 - fy)) + 18 * tint_b.at(fx * 8, fy * 6);
            // Objects: a disc and a band with hard edges and their own tint.
            const float dx = fx - 0.32f, dy = fy - 0.58f;
            if (dx * dx + dy * dy < 0.03f) r *= 1.15f, g *= 0.7f, b *= 0.5f;
            if (std::fabs(fx - 0.75f - 0.1f * std::sin(fy * 9)) < 0.05f) r *= 0.5f, g *= 0.6f;
            // Texture (foliage, fabric) that fades in towards the ground.
            const float t = fine.at(fx * 259, fy * 199) * 10.0f * fy;
            r += t, g += t * 1.2f, b += t * 0.6f;
            const float n = grain(rng);
            px[static_cast<size_t>(y) * width + x] = 0xFF000000u | clamp(r + n) << 16 |
                                                     clamp(g + grain(rng)) << 8 | clamp(b + n);
        }
    }
    return image_info(width, height, px.data());
}

size_t distinct_colours(const image_info& img) {
    std::unordered_set<uint32_t> seen(img.argb_buff.begin(), img.argb_buff.end());
    return seen.size();
}

uintmax_t size_of(const std::string& path) {
    std::error_code ec;
    const auto n = std::filesystem::file_size(path, ec);
    return ec ? 0 : n;
}

// Times one phase by the clock and by the processor time of all threads.
template <typename F>
int timed(const char* label, F phase) {
    const auto t0 = clock_type::now();
    const double c0 = cpu_seconds();
    const int result = phase();
    std::printf("%-10s %7.3f s, cpu %7.3f s%s\n", label, seconds_since(t0), cpu_seconds() - c0,
                result == 0 ? "" : "  (failed)");
    return result;
}

int phases(const std::string& file) {
    image_info img;
    if (timed("load", [&] {
            img = image_info(file);
            return img.flag != 0 ? 0 : -1;
        }) != 0)
        return 1;
    std::printf("%s: %d x %d\n", file.c_str(), img.width, img.height);
    std::string error;
    const std::string png = file + ".io_bench.png", dds = file + ".io_bench.dds";
    timed("save PNG", [&] { return img.file_save_png(png, error); });
    std::printf("PNG size   %ju bytes\n", size_of(png));
    for (int layout : {FMT_DXT5, FMT_DXT3}) {
        settings().dds_format = layout;
        timed(layout == FMT_DXT5 ? "save DXT5" : "save DXT3",
              [&] { return img.file_save_dds(dds, error); });
    }
    std::filesystem::remove(png);
    std::filesystem::remove(dds);
    std::printf("peak %ld MiB\n", peak_rss_mib());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    settings().reset_defaults();
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode == "make") {
        const image_info img = test_photograph(4224, 3168);
        std::printf("%d x %d, %zu distinct colours\n", img.width, img.height,
                    distinct_colours(img));
        std::string error;
        if (img.file_save_png(argv[2], error) != 0) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    if (mode == "phases") return phases(argv[2]);
    std::fprintf(stderr, "usage: io_bench make FILE | io_bench phases FILE\n");
    return 2;
}
