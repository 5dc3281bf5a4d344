#include "video/avi_reencode.h"

#include <cstdlib>

#include "video/avi_encoder_setup.h"
#include "video/avi_writer.h"
#include "video/frame_bitmap.h"

namespace mevra {

using namespace video_detail;

int reencode_avi(avi_reader& source, const std::string& out_path, const avi_encode_options& opt,
                 const avi_progress& progress, avi_failure& failure) {
    failure = {};
    auto fail = [&](const std::string& reason) {
        failure = {avi_text::save_failed(out_path, reason), avi_text::save_caption()};
        return avi_save_failed;
    };
    if (!source.is_open()) return fail("no AVI is open");
    const avi_stream_info& info = source.info();
    if (info.length <= 0) return fail("the stream has no frames");

    std::vector<uint8_t> dib;
    avi_failure frame_failure;
    if (source.decode_frame(0, dib, frame_failure) != 0) return fail(frame_failure.text);
    dib_header h;
    read_dib_header(dib, h);

    avi_writer writer;
    std::string error;
    if (writer.open(out_path, h.width, std::abs(h.height), info.rate, info.scale, h.bit_count, opt,
                    error) != 0)
        return fail(error);
    for (int n = 0; n < info.length; ++n) {
        if (n > 0 && source.decode_frame(n, dib, frame_failure) != 0)
            return fail(frame_failure.text);
        if (writer.write_frame(info.start + n, dib, error) != 0) return fail(error);
        if (progress && !progress(n + 1, info.length)) return avi_save_cancelled;
    }
    if (writer.finish(error) != 0) return fail(error);
    return avi_save_done;
}

int encode_preview(std::span<const uint8_t> dib, uint32_t rate, uint32_t scale,
                   const avi_encode_options& opt, std::vector<uint8_t>& preview,
                   size_t& encoded_bytes, std::string& error) {
    quiet_ffmpeg_log();
    dib_frame_view view;
    if (!view.wrap(dib)) {
        error = "unusable frame bitmap";
        return -1;
    }
    const AVFrame& src = *view.frame;
    dib_header h;
    read_dib_header(dib, h);
    codec_ctx_ptr enc =
        open_avi_encoder(opt, src.width, src.height, rate, scale, h.bit_count, error);
    if (!enc) return -1;
    encoder_input input;
    AVFrame* frame = input.convert(src, *enc, error);
    if (!frame) return -1;
    frame->pts = 0;
    packet_ptr pkt(video_detail::ffmpeg().av_packet_alloc());
    frame_ptr decoded(video_detail::ffmpeg().av_frame_alloc());
    const AVCodec* codec = video_detail::ffmpeg().avcodec_find_decoder(enc->codec_id);
    codec_ctx_ptr dec(codec ? video_detail::ffmpeg().avcodec_alloc_context3(codec) : nullptr);
    if (!pkt || !decoded || !dec) {
        error = "no decoder for the preview";
        return -1;
    }
    int r = video_detail::ffmpeg().avcodec_send_frame(enc.get(), frame);
    if (r >= 0) r = video_detail::ffmpeg().avcodec_send_frame(enc.get(), nullptr);
    if (r >= 0) r = video_detail::ffmpeg().avcodec_receive_packet(enc.get(), pkt.get());
    if (r < 0) {
        error = av_error_text(r);
        return -1;
    }
    encoded_bytes = static_cast<size_t>(pkt->size);
    AVCodecParameters* par = video_detail::ffmpeg().avcodec_parameters_alloc();
    r = par ? video_detail::ffmpeg().avcodec_parameters_from_context(par, enc.get()) : AVERROR(ENOMEM);
    if (r >= 0) r = video_detail::ffmpeg().avcodec_parameters_to_context(dec.get(), par);
    video_detail::ffmpeg().avcodec_parameters_free(&par);
    if (r >= 0) r = video_detail::ffmpeg().avcodec_open2(dec.get(), codec, nullptr);
    if (r >= 0) r = video_detail::ffmpeg().avcodec_send_packet(dec.get(), pkt.get());
    if (r >= 0) r = video_detail::ffmpeg().avcodec_send_packet(dec.get(), nullptr);
    if (r >= 0) r = video_detail::ffmpeg().avcodec_receive_frame(dec.get(), decoded.get());
    if (r < 0) {
        error = av_error_text(r);
        return -1;
    }
    frame_to_dib_converter converter;
    if (!converter.convert(*decoded, preview)) {
        error = "the preview frame cannot be shown";
        return -1;
    }
    return 0;
}

}  // namespace mevra
