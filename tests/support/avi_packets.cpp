#include "support/avi_packets.h"

#include <gtest/gtest.h>

#include <cstring>

extern "C" {
#include <libavformat/avformat.h>
}

namespace mevra::test {

std::vector<avi_packet> read_avi_packets(const std::string& path) {
    std::vector<avi_packet> packets;
    AVFormatContext* in = nullptr;
    EXPECT_EQ(avformat_open_input(&in, path.c_str(), nullptr, nullptr), 0);
    if (!in) return packets;
    AVPacket* p = av_packet_alloc();
    while (av_read_frame(in, p) >= 0) {
        packets.push_back({{p->data, p->data + p->size}, (p->flags & AV_PKT_FLAG_KEY) != 0});
        av_packet_unref(p);
    }
    av_packet_free(&p);
    avformat_close_input(&in);
    return packets;
}

void write_avi_packets(const std::string& path, const AVCodecParameters& codec, int rate,
                       int scale, const std::vector<avi_packet>& packets) {
    AVFormatContext* out = nullptr;
    ASSERT_GE(avformat_alloc_output_context2(&out, nullptr, "avi", path.c_str()), 0);
    AVStream* st = avformat_new_stream(out, nullptr);
    avcodec_parameters_copy(st->codecpar, &codec);
    st->codecpar->codec_tag = 0;
    st->time_base = {scale, rate};
    ASSERT_GE(avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE), 0);
    ASSERT_GE(avformat_write_header(out, nullptr), 0);
    AVPacket* p = av_packet_alloc();
    for (size_t n = 0; n < packets.size(); ++n) {
        ASSERT_EQ(av_new_packet(p, static_cast<int>(packets[n].data.size())), 0);
        std::memcpy(p->data, packets[n].data.data(), packets[n].data.size());
        p->pts = p->dts = static_cast<int64_t>(n);
        if (packets[n].key) p->flags |= AV_PKT_FLAG_KEY;
        ASSERT_GE(av_write_frame(out, p), 0);
        av_packet_unref(p);
    }
    av_packet_free(&p);
    av_write_trailer(out);
    avio_closep(&out->pb);
    avformat_free_context(out);
}

void write_avi_packets(const std::string& path, const std::string& like,
                       const std::vector<avi_packet>& packets,
                       const std::vector<uint8_t>* extradata) {
    AVFormatContext* in = nullptr;
    ASSERT_EQ(avformat_open_input(&in, like.c_str(), nullptr, nullptr), 0);
    AVCodecParameters* codec = avcodec_parameters_alloc();
    avcodec_parameters_copy(codec, in->streams[0]->codecpar);
    const AVRational tb = in->streams[0]->time_base;
    avformat_close_input(&in);
    if (extradata) {
        av_freep(&codec->extradata);
        codec->extradata_size = 0;
        if (!extradata->empty()) {
            codec->extradata = static_cast<uint8_t*>(
                av_mallocz(extradata->size() + AV_INPUT_BUFFER_PADDING_SIZE));
            std::memcpy(codec->extradata, extradata->data(), extradata->size());
            codec->extradata_size = static_cast<int>(extradata->size());
        }
    }
    write_avi_packets(path, *codec, tb.den, tb.num, packets);
    avcodec_parameters_free(&codec);
}

}  // namespace mevra::test
