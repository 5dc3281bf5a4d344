#include "formats/dds_dxt_encoder.h"
#include "platform/worker_threads.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace mevra::dds {
namespace {

// Encodes one row of blocks of the image.
void encode_block_row(const image_info& img, dxt_alpha alpha, search_kind search, int block_row,
                      uint8_t* out) {
    const int blocks = img.width / 4;
    uint8_t* row_out = out + static_cast<size_t>(block_row) * static_cast<size_t>(blocks) * 16;
    for (int bx = 0; bx < blocks; ++bx) {
        uint32_t pixels[16];
        for (int y = 0; y < 4; ++y) {
            const int64_t pos = (int64_t{block_row} * 4 + y) * img.width + int64_t{bx} * 4;
            for (int x = 0; x < 4; ++x)
                pixels[y * 4 + x] = img.get_pos_color(pos + x);
        }
        encode_block(pixels, alpha, search, row_out + static_cast<size_t>(bx) * 16);
    }
}

}  // namespace

void encode_block(const uint32_t pixels[16], dxt_alpha alpha, search_kind search, uint8_t out[16]) {
    if (alpha == dxt_alpha::explicit4)
        encode_alpha_explicit(pixels, out);
    else
        encode_alpha_interpolated(pixels, out);
    dxt_block b;
    prepare_block(pixels, b);
    encode_colour_half(b, search_endpoints(b, search), out + 8);
}

void encode_dxt(const image_info& img, dxt_alpha alpha, dxt_engine engine, uint8_t* out) {
    const int block_rows = img.height / 4;
    int threads =
        engine.threads > 0 ? engine.threads : static_cast<int>(worker_threads());
    // Blocks are independent, so rows are handed out to workers one at a
    // time; small images are not worth a thread.
    threads = std::clamp(threads, 1, 64);
    if (int64_t{img.width} * img.height < 64 * 1024) threads = 1;
    threads = std::min(threads, std::max(block_rows, 1));

    std::atomic<int> next_row{0};
    auto work = [&] {
        for (int row = next_row++; row < block_rows; row = next_row++)
            encode_block_row(img, alpha, engine.search, row, out);
    };
    std::vector<std::thread> workers;
    try {
        for (int t = 1; t < threads; ++t)
            workers.emplace_back(work);
    } catch (const std::system_error&) {
        // No more threads to be had: the ones running (and this one) share the rows.
    }
    work();
    for (auto& w : workers)
        w.join();
}

}  // namespace mevra::dds
