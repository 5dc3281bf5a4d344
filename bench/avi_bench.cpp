// AVI playback and re-encoding speed on 1920 × 1080, 30 fps streams in Motion
// JPEG, MPEG-4 Visual and H.264 (key frame every 250 frames), made here with
// the program's own writer. Per codec it prints:
//  - the time to show one frame in playback order: decode + conversion to
//    ARGB + the player's canvas composition at zoom 1, grid off;
//  - the time of a jump to a frame far from the current one (up to 249
//    frames after a key frame);
//  - the time of a step back, frame by frame, from the end of an interval;
//  - re-encoding speed from the Motion JPEG file, in frames per second.
// Run by hand on a Release build:
//   build/rel/bench/avi_bench [folder for the scratch files]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "image/image_info.h"
#include "render/canvas_renderer.h"
#include "video/avi_reencode.h"
#include "video/avi_writer.h"
#include "video/frame_bitmap.h"
#include "video/frame_to_argb.h"

using namespace mevra;

namespace {

constexpr int width = 1920, height = 1080, frames = 300, keyint = 250;

// CPU time of the whole process (all decoder threads), to tell the cost of
// the work from the waiting on a busy machine.
double process_cpu_ms() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) * 1e-6;
}

double ms_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// A moving picture with gradients, edges and fine texture, so that the
// codecs have real work in every frame.
std::vector<uint8_t> synthetic_frame(int n) {
    std::vector<uint8_t> dib = make_dib(width, -height, 24, {});
    uint8_t* px = dib_pixels(dib, 0);
    const int64_t stride = dib_stride(width, 24);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = px + y * stride;
        for (int x = 0; x < width; ++x) {
            const int xs = x + n * 4, ys = y + n * 2;
            row[3 * x] = static_cast<uint8_t>(xs / 8 + ((xs ^ ys) & 15));
            row[3 * x + 1] = static_cast<uint8_t>(ys / 5 + ((x * y + n) >> 9 & 31));
            row[3 * x + 2] = static_cast<uint8_t>(((xs / 64 + ys / 64) & 1) ? 200 : 40);
        }
    }
    return dib;
}

bool make_movie(const std::string& path, const std::string& encoder) {
    avi_encode_options opt;
    opt.encoder = encoder;
    opt.keyint = keyint;
    // Motion JPEG at a good quality; the others at a camera's data rate.
    opt.quality = 80;
    if (encoder != "mjpeg") opt.bitrate_kbps = 12000;
    avi_writer writer;
    std::string error;
    if (writer.open(path, width, height, 30, 1, 24, opt, error) != 0) {
        std::printf("%s: %s\n", encoder.c_str(), error.c_str());
        return false;
    }
    for (int n = 0; n < frames; ++n)
        if (writer.write_frame(n, synthetic_frame(n), error) != 0) return false;
    return writer.finish(error) == 0;
}

struct stats {
    double mean = 0, worst = 0;
};

stats summarise(const std::vector<double>& ms) {
    stats s;
    for (double v : ms) {
        s.mean += v / static_cast<double>(ms.size());
        s.worst = std::max(s.worst, v);
    }
    return s;
}

void measure(const std::string& path, const std::string& encoder) {
    avi_reader avi;
    avi_failure f;
    if (avi.open(path, f) != 0) {
        std::printf("%s: %s\n", encoder.c_str(), f.text.c_str());
        return;
    }
    canvas_view view;
    view.zoom_level = 4;  // 1:1
    view.width = width;
    view.height = height;
    view.tile = background_tile(0);
    std::vector<uint32_t> canvas(static_cast<size_t>(width) * height);
    std::vector<uint8_t> dib;
    image_info img;
    std::vector<double> cpu;
    auto show = [&](int n) {
        const auto t = std::chrono::steady_clock::now();
        const double c = process_cpu_ms();
        if (avi.decode_frame(n, dib, f) != 0 || frame_to_argb(dib, img) != 0)
            std::printf("  frame %d failed\n", n);
        render_player_frame(img, view, canvas.data());
        cpu.push_back(process_cpu_ms() - c);
        return ms_since(t);
    };
    std::vector<double> play;
    for (int n = 0; n < 90; ++n)
        play.push_back(show(n));
    const stats play_cpu = summarise(cpu);
    cpu.clear();
    // Jumps back and forth, each landing far from the frame before; 249 is the
    // farthest a frame lies from its key frame.
    const int targets[] = {249, 10, 200, 299, 3, 248, 120, 260, 0, 180, 249, 75};
    std::vector<double> jumps;
    for (int n : targets)
        jumps.push_back(show(n));
    const stats p = summarise(play), j = summarise(jumps), jump_cpu = summarise(cpu);
    // Stepping back from the farthest frame of a key-frame interval: the
    // frames decoded on the way there are still kept.
    show(249);
    std::vector<double> back;
    for (int n = 248; n >= 189; --n)
        back.push_back(show(n));
    const stats b = summarise(back);
    std::printf("%-8s one frame: mean %6.1f ms, worst %6.1f ms (cpu mean %6.1f ms)\n",
                encoder.c_str(), p.mean, p.worst, play_cpu.mean);
    std::printf("%-8s jump:      mean %6.1f ms, worst %6.1f ms (cpu mean %6.1f ms)\n",
                encoder.c_str(), j.mean, j.worst, jump_cpu.mean);
    std::printf("%-8s step back: mean %6.1f ms, worst %6.1f ms (60 steps from frame 249)\n",
                encoder.c_str(), b.mean, b.worst);
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    const char* codecs[] = {"mjpeg", "mpeg4", "libx264"};
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("%d x %d, %d frames at 30 fps, key frame every %d\n", width, height, frames,
                keyint);
    for (const char* c : codecs) {
        const std::string path = (folder / (std::string("mevra_bench_") + c + ".avi")).string();
        const auto t = std::chrono::steady_clock::now();
        if (!make_movie(path, c)) continue;
        std::printf("%-8s written at %.1f frames per second (%.1f MB)\n", c,
                    frames * 1000.0 / ms_since(t), fs::file_size(path) / 1e6);
        measure(path, c);
    }
    avi_reader source;
    avi_failure f;
    const std::string mjpeg = (folder / "mevra_bench_mjpeg.avi").string();
    if (source.open(mjpeg, f) == 0) {
        for (const char* c : {"mjpeg", "mpeg4", "libx264", "ffv1", "rawvideo"}) {
            avi_encode_options opt;
            opt.encoder = c;
            opt.keyint = keyint;
            if (std::string(c) == "mpeg4" || std::string(c) == "libx264") opt.bitrate_kbps = 12000;
            const std::string out = (folder / "mevra_bench_out.avi").string();
            const auto t = std::chrono::steady_clock::now();
            if (reencode_avi(source, out, opt, nullptr, f) != avi_save_done) {
                std::printf("re-encode to %s failed: %s\n", c, f.text.c_str());
                continue;
            }
            std::printf("re-encode mjpeg -> %-8s %.1f frames per second\n", c,
                        frames * 1000.0 / ms_since(t));
            fs::remove(out);
        }
    }
    for (const char* c : codecs)
        fs::remove(folder / (std::string("mevra_bench_") + c + ".avi"));
    return 0;
}
