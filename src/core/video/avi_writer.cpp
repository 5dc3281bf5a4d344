#include "video/avi_writer.h"

#include <unistd.h>

#include <mutex>

#include "platform/file_io.h"
#include "video/avi_encoder_setup.h"

namespace mevra {

using namespace video_detail;

void quiet_ffmpeg_log() {
    static std::once_flag once;
    std::call_once(once, [] { video_detail::ffmpeg().av_log_set_level(AV_LOG_QUIET); });
}

struct avi_writer::impl {
    std::string target;
    std::string temp;
    AVFormatContext* oc = nullptr;
    AVStream* st = nullptr;
    codec_ctx_ptr enc;
    encoder_input input;
    dib_frame_view view;
    packet_ptr pkt{video_detail::ffmpeg().av_packet_alloc()};
    int64_t last_position = -1;

    ~impl() { discard(); }
    void discard() {
        enc.reset();
        if (oc) {
            if (oc->pb) video_detail::ffmpeg().avio_closep(&oc->pb);
            video_detail::ffmpeg().avformat_free_context(oc);
            oc = nullptr;
        }
        if (!temp.empty()) discard_temp(temp);
        temp.clear();
    }
    // Moves every packet the encoder has ready into the file.
    bool drain(std::string& error) {
        for (;;) {
            int r = video_detail::ffmpeg().avcodec_receive_packet(enc.get(), pkt.get());
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
            if (r < 0) {
                error = av_error_text(r);
                return false;
            }
            video_detail::ffmpeg().av_packet_rescale_ts(pkt.get(), enc->time_base, st->time_base);
            pkt->stream_index = st->index;
            r = video_detail::ffmpeg().av_interleaved_write_frame(oc, pkt.get());
            if (r < 0) {
                error = av_error_text(r);
                return false;
            }
        }
    }
};

avi_writer::avi_writer() = default;

avi_writer::~avi_writer() = default;

void avi_writer::abandon() {
    p_.reset();
}

int avi_writer::open(const std::string& path, int width, int height, uint32_t rate, uint32_t scale,
                     int source_bits, const avi_encode_options& opt, std::string& error) {
    quiet_ffmpeg_log();
    p_ = std::make_unique<impl>();
    impl& w = *p_;
    w.target = path;
    auto fail = [&](const std::string& why) {
        error = why;
        p_.reset();
        return -1;
    };
    if (!w.pkt) return fail("out of memory");
    w.enc = open_avi_encoder(opt, width, height, rate, scale, source_bits, error);
    if (!w.enc) return fail(error);
    if (!create_temp_beside(path, w.temp, error)) return fail(error);
    if (video_detail::ffmpeg().avformat_alloc_output_context2(&w.oc, nullptr, "avi", w.temp.c_str()) < 0 || !w.oc)
        return fail("no AVI writer");
    w.st = video_detail::ffmpeg().avformat_new_stream(w.oc, nullptr);
    if (!w.st) return fail("out of memory");
    w.st->time_base = w.enc->time_base;
    int r = video_detail::ffmpeg().avcodec_parameters_from_context(w.st->codecpar, w.enc.get());
    if (r < 0) return fail(av_error_text(r));
    w.st->codecpar->codec_tag = avi_codec_tag(opt.encoder);
    r = video_detail::ffmpeg().avio_open(&w.oc->pb, ("file:" + w.temp).c_str(), AVIO_FLAG_WRITE);
    if (r < 0) return fail(av_error_text(r));
    r = video_detail::ffmpeg().avformat_write_header(w.oc, nullptr);
    if (r < 0) return fail(av_error_text(r));
    return 0;
}

int avi_writer::write_frame(int64_t position, std::span<const uint8_t> dib, std::string& error) {
    if (!p_) {
        error = "no file is being written";
        return -1;
    }
    impl& w = *p_;
    if (position <= w.last_position) {
        error = "frame positions must grow";
        return -1;
    }
    if (!w.view.wrap(dib)) {
        error = "unusable frame bitmap";
        return -1;
    }
    AVFrame* frame = w.input.convert(*w.view.frame, *w.enc, error);
    if (!frame) return -1;
    frame->pts = position;
    w.last_position = position;
    const int r = video_detail::ffmpeg().avcodec_send_frame(w.enc.get(), frame);
    if (r < 0) {
        error = av_error_text(r);
        return -1;
    }
    return w.drain(error) ? 0 : -1;
}

int avi_writer::finish(std::string& error) {
    if (!p_) {
        error = "no file is being written";
        return -1;
    }
    impl& w = *p_;
    int r = video_detail::ffmpeg().avcodec_send_frame(w.enc.get(), nullptr);
    bool ok = r >= 0 || r == AVERROR_EOF;
    if (!ok) error = av_error_text(r);
    ok = ok && w.drain(error);
    if (ok && (r = video_detail::ffmpeg().av_write_trailer(w.oc)) < 0) {
        error = av_error_text(r);
        ok = false;
    }
    if (ok && w.oc->pb->error < 0) {
        error = av_error_text(w.oc->pb->error);
        ok = false;
    }
    if (ok && (r = video_detail::ffmpeg().avio_closep(&w.oc->pb)) < 0) {
        error = av_error_text(r);
        ok = false;
    }
    if (ok) {
        ok = commit_temp(w.temp, w.target, error);
        w.temp.clear();  // renamed, or already removed by commit_temp
    }
    p_.reset();
    return ok ? 0 : -1;
}

}  // namespace mevra
