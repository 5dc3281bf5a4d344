#include "video/mpeg4_stream_header.h"

#include <algorithm>
#include <cstring>

namespace mevra::video_detail {
namespace {

// A header fits in far less; a frame may be much larger.
constexpr int max_read = 4096;

bool is_start_code(const uint8_t* p) {
    return p[0] == 0 && p[1] == 0 && p[2] == 1;
}

}  // namespace

std::vector<uint8_t> mpeg4_in_band_header(AVFormatContext& fmt, int stream) {
    AVIOContext* pb = fmt.pb;
    AVStream* st = fmt.streams[stream];
    const AVIndexEntry* first = video_detail::ffmpeg().avformat_index_get_entry(st, 0);
    if (!pb || !first || first->pos < 0) return {};
    const int64_t resume = video_detail::ffmpeg().avio_seek(pb, 0, SEEK_CUR);  // avio_tell
    std::vector<uint8_t> bytes(8 + max_read);
    int got = -1;
    // The index points at the chunk: four-character code, size, data.
    if (video_detail::ffmpeg().avio_seek(pb, first->pos, SEEK_SET) >= 0)
        got = video_detail::ffmpeg().avio_read(pb, bytes.data(), static_cast<int>(bytes.size()));
    video_detail::ffmpeg().avio_seek(pb, resume, SEEK_SET);
    if (got < 8 + 4) return {};
    const uint32_t size = static_cast<uint32_t>(bytes[4]) | static_cast<uint32_t>(bytes[5]) << 8 |
                          static_cast<uint32_t>(bytes[6]) << 16 |
                          static_cast<uint32_t>(bytes[7]) << 24;
    const int data_end = 8 + static_cast<int>(std::min<uint32_t>(size, static_cast<uint32_t>(got - 8)));
    const uint8_t* data = bytes.data() + 8;
    const int n = data_end - 8;
    if (n < 4 || !is_start_code(data) || data[3] == 0xB6) return {};
    for (int i = 0; i + 3 < n; ++i)
        if (is_start_code(data + i) && data[i + 3] == 0xB6) return {data, data + i};
    return {};
}

void attach_stream_header(AVCodecContext& dec, const std::vector<uint8_t>& header) {
    if (dec.extradata_size > 0 || header.empty()) return;
    auto* extra = static_cast<uint8_t*>(video_detail::ffmpeg().av_mallocz(header.size() + AV_INPUT_BUFFER_PADDING_SIZE));
    if (!extra) return;
    std::memcpy(extra, header.data(), header.size());
    dec.extradata = extra;
    dec.extradata_size = static_cast<int>(header.size());
}

}  // namespace mevra::video_detail
