#include "formats/dds_block_image.h"
#include "platform/worker_threads.h"

#include <algorithm>
#include <functional>
#include <system_error>
#include <thread>
#include <vector>

namespace mevra::dds {
namespace {

void encode_rows(const image_info& img, block_encoder encode, size_t block_bytes, int first_row,
                 int end_row, uint8_t* out) {
    const int blocks = img.width / 4;
    for (int row = first_row; row < end_row; ++row) {
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
}

}  // namespace

void encode_block_image(const image_info& img, block_encoder encode, size_t block_bytes,
                        int threads, uint8_t* out) {
    const int rows = img.height / 4;
    if (threads <= 0) threads = static_cast<int>(worker_threads());
    // Small images are not worth a thread.
    if (img.pixel_count() < 64 * 1024) threads = 1;
    threads = std::clamp(threads, 1, std::max(1, std::min(rows, 64)));

    // Each thread takes one contiguous run of block rows; this thread takes
    // the first and any run a thread could not be started for.
    const int per_thread = (rows + threads - 1) / threads;
    std::vector<std::thread> workers;
    int started_to = per_thread;
    try {
        for (int t = 1; t < threads; ++t) {
            const int first = std::min(rows, t * per_thread), end = std::min(rows, first + per_thread);
            workers.emplace_back(encode_rows, std::cref(img), encode, block_bytes, first, end, out);
            started_to = end;
        }
    } catch (const std::system_error&) {
    }
    encode_rows(img, encode, block_bytes, 0, std::min(rows, per_thread), out);
    encode_rows(img, encode, block_bytes, started_to, rows, out);
    for (auto& w : workers)
        w.join();
}

}  // namespace mevra::dds
