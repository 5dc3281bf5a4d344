// DDS save speed: DXT5 and DXT3 of a 4096 × 4096 image and of a 13-megapixel
// photograph-like image, end to end (encode plus write), and the same
// photograph loaded from PNG first. Run by hand:
//   build/rel/bench/dds_bench [folder for the scratch files]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "formats/dds_dxt_encoder.h"
#include "image/image_info.h"
#include "settings/clgbase.h"

using namespace mevra;

namespace {

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double thread_seconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Smooth shading, a few hard edges and sensor-like noise: the mix of flat and
// busy blocks a photograph has.
std::vector<uint32_t> photo_pixels(int width, int height, uint32_t seed) {
    std::mt19937 rng(seed);
    std::normal_distribution<float> noise(0.0f, 3.0f);
    std::vector<uint32_t> px(static_cast<size_t>(width) * height);
    auto clamp = [](float v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const float fx = static_cast<float>(x) / width, fy = static_cast<float>(y) / height;
            float r = 120 + 90 * std::sin(fx * 7.0f + fy * 3.0f);
            float g = 110 + 80 * std::cos(fx * 4.0f - fy * 9.0f);
            float b = 100 + 70 * std::sin((fx + fy) * 11.0f);
            if ((x / 97 + y / 131) % 5 == 0) r = 255 - r, b *= 0.5f;  // edges
            const float n = noise(rng);
            px[static_cast<size_t>(y) * width + x] =
                0xFF000000u | clamp(r + n) << 16 | clamp(g + noise(rng)) << 8 | clamp(b + n);
        }
    return px;
}

void time_save(const char* name, const image_info& img, int layout, const std::string& path) {
    settings().dds_format = layout;
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    const int result = img.file_save_dds(path, error);
    const double s = seconds_since(start);
    std::printf("%-34s %-5s %7.3f s%s\n", name, layout == FMT_DXT5 ? "DXT5" : "DXT3", s,
                result == 0 ? "" : "  (failed)");
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder =
        argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
    const std::string dds_path = (folder / "mevra_dds_bench.dds").string();
    const std::string png_path = (folder / "mevra_dds_bench.png").string();

    const int search = static_cast<int>(dds::fastest_search());
    std::printf("search kind %d (0 plain, 1 pruned, 2 avx2, 3 avx512)\n", search);

    const auto square_px = photo_pixels(4096, 4096, 1);
    const image_info square(4096, 4096, square_px.data());
    const auto photo_px = photo_pixels(4224, 3168, 2);
    const image_info photo(4224, 3168, photo_px.data());

    for (int layout : {FMT_DXT5, FMT_DXT3}) {
        time_save("save 4096 x 4096", square, layout, dds_path);
        time_save("save 4224 x 3168", photo, layout, dds_path);
    }

    // The command-line conversion: load the PNG, save the DDS.
    std::string error;
    if (photo.file_save_png(png_path, error) == 0) {
        for (int layout : {FMT_DXT5, FMT_DXT3}) {
            const auto start = std::chrono::steady_clock::now();
            image_info loaded(png_path);
            settings().dds_format = layout;
            const int result = loaded.file_save_dds(dds_path, error);
            std::printf("%-34s %-5s %7.3f s%s\n", "PNG 4224 x 3168 -> DDS",
                        layout == FMT_DXT5 ? "DXT5" : "DXT3", seconds_since(start),
                        result == 0 ? "" : "  (failed)");
        }
    }

    // The encoder alone on one thread, by search kind, in processor time so
    // that other load on the machine does not count (best of five runs over a
    // 512-row slice, scaled to the whole photograph).
    const image_info slice(4224, 512, photo_px.data());
    std::vector<uint8_t> out(static_cast<size_t>(slice.pixel_count()));
    const char* names[4] = {"plain", "pruned", "avx2", "avx512"};
    for (int k = 0; k < 4; ++k) {
        const auto kind = static_cast<dds::search_kind>(k);
        if (!dds::search_supported(kind)) continue;
        double fastest = 1e9;
        for (int run = 0; run < 5; ++run) {
            const double start = thread_seconds();
            dds::encode_dxt(slice, dds::dxt_alpha::interpolated, {kind, 1}, out.data());
            fastest = std::min(fastest, thread_seconds() - start);
        }
        const double per_photo = fastest * (3168.0 / 512.0);
        std::printf("one thread, %-7s search, 4224 x 3168 DXT5: %7.3f s processor time\n", names[k],
                    per_photo);
    }

    std::filesystem::remove(dds_path);
    std::filesystem::remove(png_path);
    return 0;
}
