// Feeds arbitrary bytes to the AVI opener and frame decoder (through memory,
// as a file would be read), visiting frames in the orders the player uses:
// first, next, a jump back and the last. Every decoded bitmap must convert
// and match the stream's picture rules. The bytes also go to the bitmap
// conversion directly, as a frame a decoder might hand over.
#include <cstdio>
#include <cstdlib>
#include <vector>

extern "C" {
#include <libavutil/mem.h>
}

#include "fuzz_support.h"
#include "video/avi_reader.h"
#include "video/frame_bitmap.h"
#include "video/frame_to_argb.h"

using namespace mevra;

namespace {

void check_frame(const std::vector<uint8_t>& dib) {
    image_info img;
    if (frame_to_argb(dib, img) != 0) {
        std::fprintf(stderr, "a decoded frame does not convert\n");
        std::abort();
    }
    if (img.argb_buff.size() != static_cast<size_t>(img.pixel_count())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::silent_ui quiet;
    // Damaged headers may ask FFmpeg for huge buffers; that is refused, not a finding.
    static const bool limited = (av_max_alloc(64u << 20), avi_reader::set_decoder_threads(1), true);
    (void)limited;

    image_info direct;
    if (frame_to_argb(std::span<const uint8_t>(data, size), direct) == 0 &&
        direct.argb_buff.size() != static_cast<size_t>(direct.pixel_count()))
        std::abort();

    avi_reader avi;
    avi_failure failure;
    if (avi.open_memory(std::vector<uint8_t>(data, data + size), "fuzz", failure) != 0) {
        if (failure.caption.empty() || avi.is_open()) std::abort();
        return 0;
    }
    const avi_stream_info& info = avi.info();
    // Large pictures are legitimate but only slow the search down.
    if (int64_t{info.width} * info.height > (1 << 18)) return 0;
    const int last = info.length - 1;
    const int order[] = {0, 1, 2, last, last / 2, 1, last};
    std::vector<uint8_t> dib;
    for (int n : order) {
        if (n < 0 || n > last) continue;
        if (avi.decode_frame(n, dib, failure) == 0) {
            check_frame(dib);
        } else if (failure.caption != "AVIStreamGetFrames") {
            std::abort();
        }
    }
    return 0;
}
