// DDS save speed: DXT5, DXT3, DXT1 and BC7 of a 4096 × 4096 image and of a
// 13-megapixel photograph-like image, end to end (encode plus write), and the
// same photograph loaded from PNG first; the quality (PSNR) of DXT1 and BC7 on
// it and on an icon with soft alpha; block decoding speed of every layout;
// BC4 and BC5 beside nvcompress (when installed) in time and PSNR; every
// layout with and without mipmaps, beside nvcompress where it has the layout.
// Run by hand:
//   build/rel/bench/dds_bench [folder for the scratch files] [photo.png]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "formats/bc1_encoder.h"
#include "formats/bc7_encoder.h"
#include "formats/bc_decode.h"
#include "formats/dds_block_image.h"
#include "formats/dds_dxt_encoder.h"
#include "formats/dds_header.h"
#include "image/image_info.h"
#include "settings/clgbase.h"

using namespace mevra;
using bench::read_all;
using bench::seconds_since;
using bench::thread_seconds;

namespace {

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

const char* layout_name(int layout) {
    switch (layout) {
        case FMT_DXT5:
            return "DXT5";
        case FMT_DXT3:
            return "DXT3";
        case FMT_DXT1:
            return "DXT1";
        case FMT_BC4:
            return "BC4";
        case FMT_BC5:
            return "BC5";
        default:
            return "BC7";
    }
}

constexpr int block_layouts[] = {FMT_DXT5, FMT_DXT3, FMT_DXT1, FMT_BC7};

void time_save(const char* name, const image_info& img, int layout, const std::string& path) {
    settings().dds_format = layout;
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    const int result = img.file_save_dds(path, error);
    const double s = seconds_since(start);
    std::printf("%-34s %-5s %7.3f s%s\n", name, layout_name(layout), s,
                result == 0 ? "" : "  (failed)");
}

// Decodes the blocks of a file this program wrote back to ARGB.
std::vector<uint32_t> decode_file(const std::vector<uint8_t>& file, int layout, int width,
                                  int height) {
    const size_t block_bytes = layout == FMT_DXT1 || layout == FMT_BC4 ? 8 : 16;
    const uint8_t* at = file.data() + dds::header_bytes(layout);
    std::vector<uint32_t> out(static_cast<size_t>(width) * height);
    for (int by = 0; by < height / 4; ++by)
        for (int bx = 0; bx < width / 4; ++bx, at += block_bytes) {
            uint32_t px[16];
            switch (layout) {
                case FMT_DXT5:
                    dds::decode_bc3_block(at, px);
                    break;
                case FMT_DXT3:
                    dds::decode_bc2_block(at, px);
                    break;
                case FMT_DXT1:
                    dds::decode_bc1_block(at, px);
                    break;
                case FMT_BC4:
                    dds::decode_bc4_block(at, px);
                    break;
                case FMT_BC5:
                    dds::decode_bc5_block(at, px);
                    break;
                default:
                    dds::decode_bc7_block(at, px);
                    break;
            }
            for (int p = 0; p < 16; ++p)
                out[static_cast<size_t>(by * 4 + p / 4) * width + bx * 4 + p % 4] = px[p];
        }
    return out;
}

// Over the channels [first, first + channels) of 0xAARRGGBB, blue being 0.
double psnr(const image_info& img, const std::vector<uint32_t>& back, int channels,
            int first = 0) {
    double sum = 0;
    for (size_t i = 0; i < back.size(); ++i) {
        const uint32_t a = img.get_pos_color(static_cast<int64_t>(i)), b = back[i];
        for (int c = first; c < first + channels; ++c) {
            const double d = static_cast<double>(a >> (8 * c) & 255) -
                             static_cast<double>(b >> (8 * c) & 255);
            sum += d * d;
        }
    }
    const double mse = sum / (static_cast<double>(back.size()) * channels);
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

// A round icon: opaque inside, a soft alpha ramp at its rim, transparent outside.
std::vector<uint32_t> icon_pixels(int side) {
    std::vector<uint32_t> px(static_cast<size_t>(side) * side);
    const float centre = static_cast<float>(side) / 2.0f, radius = centre * 0.8f;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const float d = std::hypot(static_cast<float>(x) - centre, static_cast<float>(y) - centre);
            const float a = std::fmin(1.0f, std::fmax(0.0f, (radius - d) / 6.0f));
            px[static_cast<size_t>(y) * side + x] =
                static_cast<uint32_t>(a * 255.0f + 0.5f) << 24 |
                static_cast<uint32_t>(255 * x / side) << 16 |
                static_cast<uint32_t>(255 * y / side) << 8 | 160u;
        }
    return px;
}

// Saves in a layout, then reports PSNR (RGB, or RGBA) and the decode time.
void quality(const char* name, const image_info& img, int layout, int channels,
             const std::string& path) {
    settings().dds_format = layout;
    std::string error;
    if (img.file_save_dds(path, error) != 0) return;
    const auto file = read_all(path);
    const auto start = std::chrono::steady_clock::now();
    const auto back = decode_file(file, layout, img.width, img.height);
    const double s = seconds_since(start);
    std::printf("%-34s %-5s PSNR %s %6.2f dB, decode %7.3f s\n", name, layout_name(layout),
                channels == 4 ? "RGBA" : "RGB ", psnr(img, back, channels), s);
}

// The PSNR a layout is judged by: BC4 on its one channel (the images given
// are grey), BC5 on red and green, the others on RGB.
double layout_psnr(const image_info& img, const std::vector<uint32_t>& back, int layout) {
    if (layout == FMT_BC4) return psnr(img, back, 1, 2);
    if (layout == FMT_BC5) return psnr(img, back, 2, 1);
    return psnr(img, back, 3);
}

// The luminance BC4 stores (weights 77 + 150 + 29 = 256, greys exact).
uint32_t luma_of(uint32_t c) {
    return (77 * (c >> 16 & 255) + 150 * (c >> 8 & 255) + 29 * (c & 255) + 128) >> 8;
}

// nvcompress's BC4 takes the alpha channel: its input for BC4 is the grey
// picture with the grey in alpha too. Returns the path written.
std::string peer_bc4_input(const image_info& img, const std::string& png) {
    std::vector<uint32_t> px(static_cast<size_t>(img.pixel_count()));
    for (size_t i = 0; i < px.size(); ++i) {
        const uint32_t c = img.get_pos_color(static_cast<int64_t>(i));
        const uint32_t luma = luma_of(c);
        px[i] = luma << 24 | luma * 0x010101u;
    }
    const std::string path = png + ".alpha.png";
    std::string error;
    image_info(img.width, img.height, px.data()).file_save_png(path, error);
    return path;
}

// BC4 and BC5 of ours beside nvcompress's on the same PNG: time end to end
// (PNG in, DDS out) and PSNR. The peer is skipped when it is not installed.
void single_and_two_channel(const image_info& img, const std::string& png,
                            const std::string& dds_path) {
    std::string error;
    if (img.file_save_png(png, error) != 0) return;
    for (int layout : {FMT_BC4, FMT_BC5}) {
        auto start = std::chrono::steady_clock::now();
        image_info loaded(png);
        settings().dds_format = layout;
        if (loaded.file_save_dds(dds_path, error) != 0) continue;
        const double ours = seconds_since(start);
        const auto back = decode_file(read_all(dds_path), layout, img.width, img.height);
        std::printf("%-34s %-5s MEVRA       %7.3f s, PSNR %6.2f dB\n", "grey/normal 4224 x 3168",
                    layout_name(layout), ours, layout_psnr(img, back, layout));
        const std::string command = std::string("nvcompress -silent ") +
                                    (layout == FMT_BC4 ? "-bc4 " + peer_bc4_input(img, png)
                                                       : "-bc5 " + png) +
                                    " " + dds_path + " > /dev/null 2>&1";
        start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) continue;
        const double peer = seconds_since(start);
        const image_info theirs(dds_path);
        if (theirs.width != img.width || theirs.height != img.height) continue;
        std::vector<uint32_t> peer_px(back.size());
        for (size_t i = 0; i < peer_px.size(); ++i)
            peer_px[i] = theirs.get_pos_color(static_cast<int64_t>(i));
        std::printf("%-34s %-5s nvcompress  %7.3f s, PSNR %6.2f dB\n", "grey/normal 4224 x 3168",
                    layout_name(layout), peer, layout_psnr(img, peer_px, layout));
    }
}

// Every layout with and without the mipmap chain, end to end (PNG in, DDS
// out) and the PSNR of level 0 as MEVRA's reader gives it back, beside
// nvcompress where it writes the layout (not the two 16-bit ones). BC4 is
// judged on the luminance it stores, BC5 on red and green.
void every_layout_with_mipmaps(const image_info& img, const std::string& png,
                               const std::string& dds_path) {
    std::string error;
    if (img.file_save_png(png, error) != 0) return;
    std::vector<uint32_t> grey(static_cast<size_t>(img.pixel_count()));
    for (size_t i = 0; i < grey.size(); ++i) {
        const uint32_t c = img.get_pos_color(static_cast<int64_t>(i));
        grey[i] = 0xFF000000u | luma_of(c) * 0x010101u;
    }
    const image_info grey_img(img.width, img.height, grey.data());
    auto level0_psnr = [&](const std::string& path, int layout) {
        const image_info back(path);
        if (back.width != img.width || back.height != img.height) return -1.0;
        std::vector<uint32_t> px(grey.size());
        for (size_t i = 0; i < px.size(); ++i)
            px[i] = back.get_pos_color(static_cast<int64_t>(i));
        return layout == FMT_BC4 ? psnr(grey_img, px, 1, 2) : layout_psnr(img, px, layout);
    };
    const char* names[] = {"A8R8G8B8", "A4R4G4B4", "A1R5G5B5", "DXT5", "DXT3",
                           "DXT1",     "BC7",      "BC4",      "BC5"};
    const char* peer[] = {"-rgb", nullptr, nullptr, "-bc3", "-bc2", "-bc1", "-bc7", "-bc4", "-bc5"};
    const std::string peer_alpha = peer_bc4_input(img, png);
    for (int layout = FMT_A8R8G8B8; layout <= FMT_BC5; ++layout)
        for (int mips : {0, 1}) {
            auto start = std::chrono::steady_clock::now();
            image_info loaded(png);
            settings().dds_format = layout;
            settings().dds_mipmaps = mips;
            const int result = loaded.file_save_dds(dds_path, error);
            const double ours = seconds_since(start);
            settings().dds_mipmaps = 0;
            if (result != 0) continue;
            std::printf("%-9s mipmaps %-3s MEVRA %7.3f s, level 0 PSNR %6.2f dB", names[layout],
                        mips ? "on" : "off", ours, level0_psnr(dds_path, layout));
            const std::string command = peer[layout] == nullptr
                                            ? std::string()
                                            : std::string("nvcompress -silent ") + peer[layout] +
                                                  (mips ? " " : " -nomips ") +
                                                  (layout == FMT_BC4 ? peer_alpha : png) + " " +
                                                  dds_path + " > /dev/null 2>&1";
            start = std::chrono::steady_clock::now();
            if (!command.empty() && std::system(command.c_str()) == 0)
                std::printf(" | nvcompress %7.3f s, PSNR %6.2f dB", seconds_since(start),
                            level0_psnr(dds_path, layout));
            std::printf("\n");
        }
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

    for (int layout : block_layouts) {
        time_save("save 4096 x 4096", square, layout, dds_path);
        time_save("save 4224 x 3168", photo, layout, dds_path);
    }

    // The command-line conversion: load the PNG, save the DDS.
    std::string error;
    if (photo.file_save_png(png_path, error) == 0) {
        for (int layout : block_layouts) {
            const auto start = std::chrono::steady_clock::now();
            image_info loaded(png_path);
            settings().dds_format = layout;
            const int result = loaded.file_save_dds(dds_path, error);
            std::printf("%-34s %-5s %7.3f s%s\n", "PNG 4224 x 3168 -> DDS", layout_name(layout),
                        seconds_since(start),
                        result == 0 ? "" : "  (failed)");
        }
    }

    for (int layout : block_layouts)
        quality("photo-like 4224 x 3168", photo, layout, 3, dds_path);
    const auto icon_px = icon_pixels(512);
    const image_info icon(512, 512, icon_px.data());
    for (int layout : {FMT_DXT1, FMT_BC7})
        quality("soft-alpha icon 512 x 512", icon, layout, 4, dds_path);
    // A photograph of the caller's, mirror-tiled to 4224 × 3168 so that its
    // texture is a camera's at the size of one, saved as PNG (kept beside the
    // scratch files for side-by-side runs of other tools), then end to end
    // and in quality.
    const std::string tiled_path = (folder / "mevra_dds_bench_photo.png").string();
    if (argc > 2) {
        const image_info given(argv[2]);
        if (given.width <= 0 || given.height <= 0) return 1;
        std::vector<uint32_t> tiled(size_t{4224} * 3168);
        for (int y = 0; y < 3168; ++y)
            for (int x = 0; x < 4224; ++x) {
                const int tx = x / given.width, ty = y / given.height;
                int sx = x % given.width, sy = y % given.height;
                if (tx & 1) sx = given.width - 1 - sx;
                if (ty & 1) sy = given.height - 1 - sy;
                tiled[size_t{4224} * y + x] =
                    given.get_pos_color(int64_t{sy} * given.width + sx) | 0xFF000000u;
            }
        if (image_info(4224, 3168, tiled.data()).file_save_png(tiled_path, error) != 0) return 1;
        std::printf("tiled photograph: %s\n", tiled_path.c_str());
        for (int layout : {FMT_DXT1, FMT_BC7}) {
            const auto start = std::chrono::steady_clock::now();
            image_info loaded(tiled_path);
            settings().dds_format = layout;
            const int result = loaded.file_save_dds(dds_path, error);
            std::printf("%-34s %-5s %7.3f s%s\n", "PNG photograph -> DDS", layout_name(layout),
                        seconds_since(start), result == 0 ? "" : "  (failed)");
            if (result == 0) quality("photograph 4224 x 3168", loaded, layout, 3, dds_path);
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

    // BC4 on a grey photograph, BC5 on a normal-map-like one (red and green
    // of the photograph, blue as a unit normal would have it).
    std::vector<uint32_t> grey_px(photo_px.size()), normal_px(photo_px.size());
    for (size_t i = 0; i < photo_px.size(); ++i) {
        const uint32_t c = photo_px[i];
        grey_px[i] = 0xFF000000u | luma_of(c) * 0x010101u;
        normal_px[i] = (c & 0xFFFFFF00u) | 255u;
    }
    single_and_two_channel(image_info(4224, 3168, grey_px.data()), png_path, dds_path);
    single_and_two_channel(image_info(4224, 3168, normal_px.data()), png_path, dds_path);

    // The mipmap table on the caller's photograph when one was given.
    if (argc > 2)
        every_layout_with_mipmaps(image_info(tiled_path), png_path, dds_path);
    else
        every_layout_with_mipmaps(photo, png_path, dds_path);

    std::filesystem::remove(dds_path);
    std::filesystem::remove(png_path);
    return 0;
}
