// BC7 on real pictures: the time to save a DDS (encode plus write, all
// processors) and the PSNR of the blocks read back, RGB for opaque pictures
// and RGBA for pictures with transparency. Also the encoder alone on one
// thread, in processor time, and how often each mode was chosen.
// Run by hand:
//   build/rel/bench/bc7_bench folder-for-the-scratch-file picture.png|jpg ...
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "formats/bc7_encoder.h"
#include "formats/bc_decode.h"
#include "formats/dds_block_image.h"
#include "formats/dds_header.h"
#include "image/image_info.h"
#include "settings/clgbase.h"

using namespace mevra;
using bench::read_all;
using bench::seconds_since;
using bench::thread_seconds;

namespace {

void measure(const std::string& name, const image_info& img, const std::string& dds_path) {
    bool opaque = true;
    for (int64_t i = 0; i < img.pixel_count() && opaque; ++i)
        opaque = img.get_pos_color(i) >> 24 == 255;
    const int channels = opaque ? 3 : 4;

    settings().dds_format = FMT_BC7;
    std::string error;
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        if (img.file_save_dds(dds_path, error) != 0) {
            std::printf("%s: save failed %s\n", name.c_str(), error.c_str());
            return;
        }
        best = std::min(best, seconds_since(start));
    }
    const auto file = read_all(dds_path);
    const uint8_t* at = file.data() + dds::header_bytes(FMT_BC7);
    double sum = 0;
    int modes[9] = {};
    for (int by = 0; by < img.height / 4; ++by)
        for (int bx = 0; bx < img.width / 4; ++bx, at += 16) {
            int mode = 0;
            while (mode < 8 && !(at[0] >> mode & 1))
                ++mode;
            ++modes[mode];
            uint32_t px[16];
            dds::decode_bc7_block(at, px);
            for (int p = 0; p < 16; ++p) {
                const uint32_t a = img.get_pos_color(int64_t{by * 4 + p / 4} * img.width + bx * 4 + p % 4);
                for (int c = 0; c < channels; ++c) {
                    const double d = static_cast<double>(a >> (8 * c) & 255) -
                                     static_cast<double>(px[p] >> (8 * c) & 255);
                    sum += d * d;
                }
            }
        }
    const double mse = sum / (static_cast<double>(img.pixel_count()) * channels);
    const double psnr = mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);

    std::vector<uint8_t> out(static_cast<size_t>(img.pixel_count()));
    const double start = thread_seconds();
    dds::encode_block_image(img, dds::encode_bc7_block, 16, 1, out.data());
    const double one_thread = thread_seconds() - start;

    std::printf("%s %d x %d: save %.3f s (best of 3), one thread %.3f s processor time, "
                "PSNR %s %.3f dB\n  modes:",
                name.c_str(), img.width, img.height, best, one_thread, opaque ? "RGB" : "RGBA",
                psnr);
    for (int m = 0; m < 8; ++m)
        std::printf(" %d:%d", m, modes[m]);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bc7_bench folder picture...\n");
        return 2;
    }
    const std::string dds_path = (std::filesystem::path(argv[1]) / "mevra_bc7_bench.dds").string();
    for (int i = 2; i < argc; ++i) {
        const image_info img(argv[i]);
        if (img.width <= 0 || img.height <= 0 || img.width % 4 || img.height % 4) {
            std::printf("%s: not loaded, or a side not a multiple of 4\n", argv[i]);
            continue;
        }
        measure(std::filesystem::path(argv[i]).filename().string(), img, dds_path);
    }
    std::filesystem::remove(dds_path);
    return 0;
}
