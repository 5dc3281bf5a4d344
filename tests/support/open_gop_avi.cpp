// An H.264 AVI with open GOPs, written straight with FFmpeg: the program's
// own writer never makes one, but cameras and other encoders do.
#include <gtest/gtest.h>

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/opt.h>
}

#include "support/avi_packets.h"
#include "support/avi_test_files.h"

namespace mevra::test {
namespace {

// The solid colour of frame n in limited-range BT.601, as the decoder's
// conversion expects it.
void fill_solid(AVFrame& f, int n) {
    const uint32_t c = solid_color(n);
    const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    const int y = (66 * r + 129 * g + 25 * b + 128) / 256 + 16;
    const int u = (-38 * r - 74 * g + 112 * b + 128) / 256 + 128;
    const int v = (112 * r - 94 * g - 18 * b + 128) / 256 + 128;
    for (int row = 0; row < f.height; ++row)
        std::memset(f.data[0] + row * f.linesize[0], y, static_cast<size_t>(f.width));
    for (int row = 0; row < f.height / 2; ++row) {
        std::memset(f.data[1] + row * f.linesize[1], u, static_cast<size_t>(f.width / 2));
        std::memset(f.data[2] + row * f.linesize[2], v, static_cast<size_t>(f.width / 2));
    }
}

}  // namespace

bool make_open_gop_h264_avi(const std::string& path, int frames, int keyint, int b_frames) {
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec) return false;
    AVCodecContext* enc = avcodec_alloc_context3(codec);
    enc->width = 64;
    enc->height = 48;
    enc->pix_fmt = AV_PIX_FMT_YUV420P;
    enc->time_base = {1, 10};
    enc->gop_size = keyint;
    enc->max_b_frames = b_frames;
    av_opt_set(enc->priv_data, "x264-params", "open-gop=1", 0);
    EXPECT_EQ(avcodec_open2(enc, codec, nullptr), 0);

    AVFrame* f = av_frame_alloc();
    f->format = enc->pix_fmt;
    f->width = enc->width;
    f->height = enc->height;
    av_frame_get_buffer(f, 0);
    AVPacket* p = av_packet_alloc();
    std::vector<avi_packet> packets;
    const auto drain = [&] {
        while (avcodec_receive_packet(enc, p) == 0) {
            packets.push_back({{p->data, p->data + p->size}, (p->flags & AV_PKT_FLAG_KEY) != 0});
            av_packet_unref(p);
        }
    };
    for (int n = 0; n < frames; ++n) {
        av_frame_make_writable(f);
        fill_solid(*f, n);
        f->pts = n;
        avcodec_send_frame(enc, f);
        drain();
    }
    avcodec_send_frame(enc, nullptr);
    drain();
    AVCodecParameters* par = avcodec_parameters_alloc();
    avcodec_parameters_from_context(par, enc);
    write_avi_packets(path, *par, 10, 1, packets);
    avcodec_parameters_free(&par);
    av_packet_free(&p);
    av_frame_free(&f);
    avcodec_free_context(&enc);
    return true;
}

}  // namespace mevra::test
