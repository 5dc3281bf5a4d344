// Batch conversion benchmark, part one: makes the test list. Writes COUNT
// photograph-like JPEG files at several sizes into DIR, a list file
// DIR/photos.lst naming them all (batch.lst format) and DIR/largest.lst naming
// only the largest, whose run alone gives the memory of a single image.
// bench/batch_bench.sh then times mevra-cli over both lists.
//
//   batch_bench DIR [COUNT]        (COUNT defaults to 200)
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "batch/batch_list_file.h"
#include "image/image_info.h"
#include "settings/clgbase.h"

using namespace mevra;

namespace {

// Smooth light with a few objects and sensor grain: like a photograph, it has
// a few hundred thousand distinct colours and compresses like one.
image_info photo_like(int width, int height, uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const float f1 = 1.0f + 6.0f * unit(rng), f2 = 1.0f + 6.0f * unit(rng);
    const float f3 = 2.0f + 9.0f * unit(rng), phase = 6.28f * unit(rng);
    struct disc {
        float x, y, r;
        uint32_t colour;
    };
    std::vector<disc> discs(8);
    for (auto& d : discs)
        d = {unit(rng), unit(rng), 0.05f + 0.2f * unit(rng), static_cast<uint32_t>(rng())};
    std::vector<uint32_t> px(static_cast<size_t>(width) * height);
    auto clamp = [](float v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    for (int y = 0; y < height; ++y) {
        const float fy = static_cast<float>(y) / static_cast<float>(height);
        for (int x = 0; x < width; ++x) {
            const float fx = static_cast<float>(x) / static_cast<float>(width);
            const float grain = static_cast<float>(static_cast<int>(rng() % 9) - 4);
            float r = 128 + 90 * std::sin(fx * f1 + fy * 2.3f + phase) + grain;
            float g = 110 + 80 * std::cos(fx * f2 - fy * f1) + 0.8f * grain;
            float b = 100 + 70 * std::sin(fx * fy * f3 + 1.0f) + 1.2f * grain;
            for (const auto& d : discs) {
                const float dx = fx - d.x, dy = fy - d.y;
                if (dx * dx + dy * dy < d.r * d.r) {
                    const float shade = 1.0f - (dx * dx + dy * dy) / (d.r * d.r) * 0.5f;
                    r = 0.5f * r + 0.5f * shade * static_cast<float>(d.colour >> 16 & 255);
                    g = 0.5f * g + 0.5f * shade * static_cast<float>(d.colour >> 8 & 255);
                    b = 0.5f * b + 0.5f * shade * static_cast<float>(d.colour & 255);
                }
            }
            px[static_cast<size_t>(y) * width + x] =
                0xFF000000u | clamp(r) << 16 | clamp(g) << 8 | clamp(b);
        }
    }
    return image_info(width, height, px.data());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: batch_bench DIR [COUNT]\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    const int count = argc > 2 ? std::atoi(argv[2]) : 200;
    std::filesystem::create_directories(dir);
    settings().jpeg_compress = 90;
    // Camera, screen and phone sizes, from 0.3 to 12 megapixels.
    const int sizes[][2] = {{640, 480},   {1024, 768},  {1600, 1200}, {1920, 1080},
                            {2560, 1600}, {3264, 2448}, {4000, 3000}};
    std::vector<std::string> list;
    std::string largest;
    long long largest_pixels = 0;
    for (int i = 0; i < count; ++i) {
        const auto& s = sizes[i % std::size(sizes)];
        const std::string path = (dir / ("photo" + std::to_string(i) + ".jpg")).string();
        if (!std::filesystem::exists(path)) {
            image_info img = photo_like(s[0], s[1], static_cast<uint32_t>(i + 1));
            if (img.save_to_file(IMGFMT_JPG, path) != 0) return 1;
        }
        list.push_back(path);
        if (static_cast<long long>(s[0]) * s[1] > largest_pixels) {
            largest_pixels = static_cast<long long>(s[0]) * s[1];
            largest = path;
        }
    }
    if (save_batch_list((dir / "photos.lst").string(), list) != 0 ||
        save_batch_list((dir / "largest.lst").string(), {largest}) != 0)
        return 1;
    std::printf("%d photographs in %s, largest %s (%.1f MP)\n", count, dir.c_str(), largest.c_str(),
                static_cast<double>(largest_pixels) / 1e6);
    return 0;
}
