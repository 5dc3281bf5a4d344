// Opening and closing: the AVI demuxer only (any other container is "not an
// AVI"), the first video stream, a decoder for it, and the stream's numbers.
#include "video/avi_reader.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <filesystem>

#include "platform/image_limits.h"
#include "video/avi_reader_state.h"
#include "video/avi_writer.h"
#include "video/frame_bitmap.h"
#include "video/mpeg4_stream_header.h"

namespace mevra {
namespace {

using video_detail::codec_ctx_ptr;

constexpr int memory_io_buffer = 1 << 16;

std::atomic<int> decoder_threads{0};

int read_memory(void* opaque, uint8_t* buf, int size) {
    auto* s = static_cast<avi_reader::state*>(opaque);
    const size_t left = s->memory.size() - std::min(s->memory_pos, s->memory.size());
    const size_t n = std::min(left, static_cast<size_t>(size));
    if (n == 0) return AVERROR_EOF;
    std::memcpy(buf, s->memory.data() + s->memory_pos, n);
    s->memory_pos += n;
    return static_cast<int>(n);
}

int64_t seek_memory(void* opaque, int64_t offset, int whence) {
    auto* s = static_cast<avi_reader::state*>(opaque);
    const auto size = static_cast<int64_t>(s->memory.size());
    int64_t base = 0;
    switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE:
            return size;
        case SEEK_SET:
            break;
        case SEEK_CUR:
            base = static_cast<int64_t>(s->memory_pos);
            break;
        case SEEK_END:
            base = size;
            break;
        default:
            return AVERROR(EINVAL);
    }
    if (offset > INT64_MAX - base) return AVERROR(EINVAL);
    const int64_t pos = base + offset;
    if (pos < 0) return AVERROR(EINVAL);
    s->memory_pos = static_cast<size_t>(std::min(pos, size));
    return pos;
}

// The palette the demuxer takes from the stream header for streams of up to
// 8 bits: the last (1 << bits) × 4 bytes of the format's extra data.
std::vector<uint8_t> header_palette(const AVCodecParameters& par) {
    if (par.bits_per_coded_sample <= 0 || par.bits_per_coded_sample > 8 ||
        par.extradata_size <= 0 || !par.extradata)
        return {};
    const int size = std::min((1 << par.bits_per_coded_sample) * 4, par.extradata_size);
    std::vector<uint8_t> pal(AVPALETTE_SIZE, 0);
    const uint8_t* src = par.extradata + par.extradata_size - size;
    for (int i = 0; i + 3 < size; i += 4) {
        std::memcpy(pal.data() + i, src + i, 3);
        pal[static_cast<size_t>(i) + 3] = 0xFF;
    }
    return pal;
}

int stream_length(AVStream& st) {
    int64_t n = st.nb_frames;
    if (n <= 0) n = st.duration != AV_NOPTS_VALUE ? st.duration : 0;
    if (n <= 0) n = video_detail::ffmpeg().avformat_index_get_entries_count(&st);
    return static_cast<int>(std::clamp<int64_t>(n, 0, INT_MAX));
}

}  // namespace

avi_reader::state::~state() {
    close_input();
}

void avi_reader::state::close_input() {
    dec.reset();
    video_detail::ffmpeg().avformat_close_input(&fmt);
    if (io) {
        video_detail::ffmpeg().av_freep(&io->buffer);
        video_detail::ffmpeg().avio_context_free(&io);
    }
    stream = -1;
    window.clear();
}

bool avi_reader::state::open(avi_failure& failure, const std::string& name) {
    close_input();
    failure = {avi_text::open_error(name), avi_text::open_caption};
    if (!packet || !incoming) return false;
    fmt = video_detail::ffmpeg().avformat_alloc_context();
    if (!fmt) return false;
    if (url.empty()) {
        memory_pos = 0;
        auto* buffer = static_cast<uint8_t*>(video_detail::ffmpeg().av_malloc(memory_io_buffer));
        if (!buffer) return false;
        io = video_detail::ffmpeg().avio_alloc_context(buffer, memory_io_buffer, 0, this, read_memory, nullptr,
                                seek_memory);
        if (!io) {
            video_detail::ffmpeg().av_free(buffer);
            return false;
        }
        fmt->pb = io;
        fmt->flags |= AVFMT_FLAG_CUSTOM_IO;
    }
    const AVInputFormat* avi = video_detail::ffmpeg().av_find_input_format("avi");
    // On failure avformat_open_input frees the context and clears the pointer.
    if (!avi || video_detail::ffmpeg().avformat_open_input(&fmt, url.empty() ? nullptr : url.c_str(), avi, nullptr) < 0)
        return false;

    failure.caption = avi_text::stream_caption;
    for (unsigned i = 0; i < fmt->nb_streams; ++i) {
        const AVStream* st = fmt->streams[i];
        if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            !(st->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            stream = static_cast<int>(i);
            break;
        }
    }
    if (stream < 0) return false;
    for (unsigned i = 0; i < fmt->nb_streams; ++i)
        if (static_cast<int>(i) != stream) fmt->streams[i]->discard = AVDISCARD_ALL;

    failure.caption = avi_text::decoder_caption;
    AVStream* st = fmt->streams[stream];
    const AVCodecParameters& par = *st->codecpar;
    const AVCodec* codec = video_detail::ffmpeg().avcodec_find_decoder(par.codec_id);
    if (!codec || !image_size_ok(par.width, par.height)) return false;
    dec.reset(video_detail::ffmpeg().avcodec_alloc_context3(codec));
    if (!dec || video_detail::ffmpeg().avcodec_parameters_to_context(dec.get(), &par) < 0) return false;
    dec->pkt_timebase = st->time_base;
    if (par.codec_id == AV_CODEC_ID_MPEG4 && par.extradata_size <= 0)
        video_detail::attach_stream_header(*dec, video_detail::mpeg4_in_band_header(*fmt, stream));
    // Every frame of an AVI stream has the header's size. A damaged frame
    // may claim a far larger picture, and the decoder would allocate and
    // clear it before failing; such frames are refused at once.
    dec->max_pixels = std::max<int64_t>(int64_t{par.width} * par.height * 4, int64_t{1} << 20);
    dec->thread_count = decoder_threads.load();
    dec->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    if (video_detail::ffmpeg().avcodec_open2(dec.get(), codec, nullptr) < 0) return false;

    palette = header_palette(par);
    mpeg4_visual = par.codec_id == AV_CODEC_ID_MPEG4;
    h264 = par.codec_id == AV_CODEC_ID_H264 && h264_order.open(par);
    const AVCodecDescriptor* desc = video_detail::ffmpeg().avcodec_descriptor_get(par.codec_id);
    window.set_budget(desc && (desc->props & AV_CODEC_PROP_INTRA_ONLY) ? 0 : window_bytes);
    reset_run();
    failure = {};
    return true;
}

void avi_reader::set_decoder_threads(int threads) {
    decoder_threads.store(threads < 0 ? 0 : threads);
}

avi_reader::avi_reader() = default;

avi_reader::~avi_reader() = default;

bool avi_reader::is_open() const {
    return s_ && s_->dec;
}

void avi_reader::close() {
    s_.reset();
    info_ = {};
    path_.clear();
    last_bits_ = 0;
}

int avi_reader::open(const std::string& path, avi_failure& failure) {
    quiet_ffmpeg_log();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        failure = {avi_text::missing_file(path), avi_text::missing_file_caption};
        return -1;
    }
    close();
    path_ = path;
    s_ = std::make_unique<state>();
    // The file protocol takes any path literally, colons included.
    s_->url = "file:" + path;
    return open_input(s_->url, path, failure);
}

int avi_reader::open_memory(std::vector<uint8_t> bytes, const std::string& name,
                            avi_failure& failure) {
    quiet_ffmpeg_log();
    close();
    path_ = name;
    s_ = std::make_unique<state>();
    s_->memory = std::move(bytes);
    return open_input("", name, failure);
}

int avi_reader::open_input(const std::string& url, const std::string& name, avi_failure& failure) {
    (void)url;
    if (!s_->open(failure, name)) {
        s_.reset();
        info_ = {};
        return -1;
    }
    AVStream* st = s_->fmt->streams[s_->stream];
    info_.length = stream_length(*st);
    // The demuxer keeps the header's scale and rate as the time base.
    info_.rate = static_cast<uint32_t>(std::max(st->time_base.den, 0));
    info_.scale = static_cast<uint32_t>(std::max(st->time_base.num, 0));
    info_.start = 0;
    info_.width = st->codecpar->width;
    info_.height = st->codecpar->height;
    info_.codec = s_->dec->codec ? s_->dec->codec->name : "";
    info_.stream_count = static_cast<int>(s_->fmt->nb_streams);
    return 0;
}

int avi_reader::decode_frame(int n, std::vector<uint8_t>& dib, avi_failure& failure) {
    failure = {avi_text::frame_error(n), avi_text::frame_caption};
    if (!is_open() || n < 0 || n >= info_.length) return -1;
    const AVFrame* f = s_->fetch(info_.start + n, info_.start);
    if (!f || !s_->converter.convert(*f, dib)) return -1;
    dib_header h;
    read_dib_header(dib, h);
    last_bits_ = h.bit_count;
    failure = {};
    return 0;
}

}  // namespace mevra
