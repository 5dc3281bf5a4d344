// Peak memory of an image window's undo list: a 4224 × 3168 ARGB image (13.4
// megapixels, 53.5 MB a copy) edited 40 times, so the list holds its 33
// states. Run under `/usr/bin/time -v` and read "Maximum resident set size";
// the program prints what the copies alone account for.
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "views/image_window.h"

namespace {

long resident_kb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int w = 4224, h = 3168;
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h, 0xFF336699u);
    auto* child = new image_window;
    child->image = std::make_unique<mevra::image_info>(w, h, pixels.data());
    pixels = {};
    child->undo_add();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 40; ++i) {
        child->image->argb_buff[static_cast<size_t>(i)] = 0xFF000000u | static_cast<uint32_t>(i);
        child->undo_add();
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double copy_mb = static_cast<double>(w) * h * 4 / 1e6;
    std::printf("states %zu, one copy %.1f MB, image + states %.0f MB\n", child->undo_list.size(),
                copy_mb, copy_mb * static_cast<double>(child->undo_list.size() + 1));
    std::printf("40 edits %.0f ms, peak resident %ld MB\n", ms, resident_kb("VmHWM:") / 1024);
    for (int i = 0; i < 32; ++i)
        child->undo_image();
    std::printf("after 32 undos: peak resident %ld MB\n", resident_kb("VmHWM:") / 1024);
    delete child;
    return 0;
}
