#include "video/h264_display_order.h"

#include <algorithm>

namespace mevra::video_detail {
namespace {

// True when the packet (Annex B byte stream) holds a slice of an IDR picture.
bool holds_idr(const AVPacket& p) {
    for (int i = 0; i + 3 < p.size; ++i)
        if (p.data[i] == 0 && p.data[i + 1] == 0 && p.data[i + 2] == 1 &&
            (p.data[i + 3] & 0x1F) == 5)
            return true;
    return false;
}

}  // namespace

h264_display_order::~h264_display_order() {
    video_detail::ffmpeg().av_parser_close(parser_);
    video_detail::ffmpeg().avcodec_free_context(&ctx_);
}

bool h264_display_order::open(const AVCodecParameters& par) {
    video_detail::ffmpeg().av_parser_close(parser_);
    parser_ = nullptr;
    video_detail::ffmpeg().avcodec_free_context(&ctx_);
    ctx_ = video_detail::ffmpeg().avcodec_alloc_context3(nullptr);
    if (!ctx_ || video_detail::ffmpeg().avcodec_parameters_to_context(ctx_, &par) < 0) return false;
    start_run();
    return parser_ != nullptr;
}

void h264_display_order::start_run() {
    run_.clear();
    stretch_start_.clear();
    stretch_pocs_.clear();
    // A new parser: order counts of the run start from its first picture.
    video_detail::ffmpeg().av_parser_close(parser_);
    parser_ = video_detail::ffmpeg().av_parser_init(AV_CODEC_ID_H264);
    if (parser_) parser_->flags |= PARSER_FLAG_COMPLETE_FRAMES;
}

void h264_display_order::note(const AVPacket& packet, int64_t position) {
    if (!parser_ || !ctx_) return;
    if (!run_.empty() && position <= run_.back().position) return;  // a damaged index
    uint8_t* out = nullptr;
    int out_size = 0;
    video_detail::ffmpeg().av_parser_parse2(parser_, ctx_, &out, &out_size, packet.data, packet.size, AV_NOPTS_VALUE,
                     AV_NOPTS_VALUE, 0);
    if (run_.empty() || holds_idr(packet)) {
        stretch_start_.push_back(position);
        stretch_pocs_.emplace_back();
    }
    const int poc = parser_->output_picture_number;
    run_.push_back({position, poc, static_cast<int>(stretch_start_.size()) - 1});
    // Order counts mostly rise, so the insertion point is near the end.
    std::vector<int>& pocs = stretch_pocs_.back();
    pocs.insert(std::upper_bound(pocs.begin(), pocs.end(), poc), poc);
}

const h264_display_order::entry* h264_display_order::find(int64_t position) const {
    auto it = std::lower_bound(run_.begin(), run_.end(), position,
                               [](const entry& e, int64_t p) { return e.position < p; });
    return it != run_.end() && it->position == position ? &*it : nullptr;
}

int64_t h264_display_order::display_of(int64_t position) const {
    const entry* e = find(position);
    if (!e) return -1;
    const std::vector<int>& pocs = stretch_pocs_[static_cast<size_t>(e->stretch)];
    const auto before = std::lower_bound(pocs.begin(), pocs.end(), e->poc) - pocs.begin();
    return stretch_start_[static_cast<size_t>(e->stretch)] + before;
}

bool h264_display_order::is_leading(int64_t position) const {
    const entry* e = find(position);
    return e && e->stretch == 0 && e->poc < run_.front().poc;
}

bool h264_display_order::has_picture_at(int64_t display) const {
    auto it = std::upper_bound(stretch_start_.begin(), stretch_start_.end(), display);
    if (it == stretch_start_.begin()) return false;
    const auto s = static_cast<size_t>(it - stretch_start_.begin() - 1);
    const auto rank = static_cast<size_t>(display - stretch_start_[s]);
    if (rank >= stretch_pocs_[s].size()) return false;
    // The leading pictures of the run's first key frame take the first places.
    return s != 0 || stretch_pocs_[0][rank] >= run_.front().poc;
}

}  // namespace mevra::video_detail
