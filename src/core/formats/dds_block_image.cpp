#include "formats/dds_block_image.h"
#include "platform/thread_start.h"
#include "platform/worker_threads.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace mevra::dds {
namespace {

void encode_row(const image_info& img, const block_encoder& encode, size_t block_bytes, int row,
                uint8_t* out) {
    const int blocks = img.width / 4;
    uint8_t* at = out + static_cast<size_t>(row) * static_cast<size_t>(blocks) * block_bytes;
    for (int bx = 0; bx < blocks; ++bx, at += block_bytes) {
        uint32_t pixels[16];
        for (int y = 0; y < 4; ++y) {
            const int64_t pos = (int64_t{row} * 4 + y) * img.width + int64_t{bx} * 4;
            for (int x = 0; x < 4; ++x)
                pixels[y * 4 + x] = img.get_pos_color(pos + x);
        }
        encode(pixels, at);
    }
}

}  // namespace

void encode_block_image(const image_info& img, const block_encoder& encode, size_t block_bytes,
                        int threads, uint8_t* out) {
    const int rows = img.height / 4;
    if (threads <= 0) threads = static_cast<int>(worker_threads());
    // Small images are not worth a thread.
    if (img.pixel_count() < 64 * 1024) threads = 1;
    threads = std::clamp(threads, 1, std::max(1, std::min(rows, 64)));

    // Rows are handed out one at a time, so threads that meet costly blocks
    // do not hold the others up.
    std::atomic<int> next_row{0};
    auto work = [&] {
        for (int row = next_row++; row < rows; row = next_row++)
            encode_row(img, encode, block_bytes, row, out);
    };
    // Without more threads the ones running (and this one) share the rows.
    std::vector<std::thread> workers;
    workers.reserve(static_cast<size_t>(threads - 1));
    for (int t = 1; t < threads; ++t) {
        std::thread w;
        if (!start_thread(w, work)) break;
        workers.push_back(std::move(w));
    }
    work();
    for (auto& w : workers)
        w.join();
}

}  // namespace mevra::dds
