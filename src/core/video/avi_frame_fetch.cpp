// Random access to frames. AVI positions are sample numbers; the demuxer
// gives each packet its position as timestamp. A seek lands on the key frame
// at or before the wanted position (or, on a damaged index, somewhere else),
// so the frame is always identified after decoding, never assumed.
#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "video/avi_reader_state.h"

namespace mevra {

void avi_reader::state::reset_run() {
    run_started = false;
    run_base = 0;
    run_outputs = 0;
    input_ended = false;
    drained = false;
    attach_palette = !palette.empty();
    in_leading_b = false;
    leading_b = 0;
    if (h264) h264_order.start_run();
    window.clear();
}

int64_t avi_reader::state::key_at_or_before(int64_t ts, int64_t start) const {
    AVStream* st = fmt->streams[stream];
    const int i = video_detail::ffmpeg().av_index_search_timestamp(st, ts, AVSEEK_FLAG_BACKWARD);
    if (i < 0) return start;
    const AVIndexEntry* e = video_detail::ffmpeg().avformat_index_get_entry(st, i);
    return e ? std::max(e->timestamp, start) : start;
}

bool avi_reader::state::seek_to(int64_t ts, int64_t start) {
    if (video_detail::ffmpeg().av_seek_frame(fmt, stream, std::max(ts, start), AVSEEK_FLAG_BACKWARD) < 0) {
        // Back to the very beginning: reopening is the one way that works
        // for files without a usable index too.
        avi_failure ignored;
        if (!open(ignored, "")) return false;
    }
    video_detail::ffmpeg().avcodec_flush_buffers(dec.get());
    reset_run();
    return true;
}

bool avi_reader::state::by_order_count() const {
    return h264 && dec->has_b_frames > 0;
}

int64_t avi_reader::state::number_of(const AVFrame& f) const {
    // With B-frames an AVI packet's position is its place in decoding order,
    // so timestamps of reordered frames are ambiguous. H.264 pictures are
    // placed by their order counts (the timestamp names the packet); other
    // frames are counted from the key frame the run began with.
    if (by_order_count()) {
        if (f.pts == AV_NOPTS_VALUE || h264_order.is_leading(f.pts)) return -1;
        return h264_order.display_of(f.pts);
    }
    if (dec->has_b_frames > 0 || f.best_effort_timestamp == AV_NOPTS_VALUE)
        return run_base + leading_b + run_outputs - 1;
    return f.best_effort_timestamp;
}

namespace {

// The coding types of the pictures (VOPs) in an MPEG-4 Visual (Xvid, DivX)
// packet, in order: 0 I, 1 P, 2 B, 3 S. "Packed" files hold a P- and a
// B-picture in one packet.
std::vector<int> vop_types(const AVPacket& p) {
    std::vector<int> types;
    for (int i = 0; i + 4 < p.size; ++i)
        if (p.data[i] == 0 && p.data[i + 1] == 0 && p.data[i + 2] == 1 && p.data[i + 3] == 0xB6)
            types.push_back(p.data[i + 4] >> 6);
    return types;
}

constexpr int b_vop = 2;

}  // namespace

bool avi_reader::state::dropped(int64_t target) const {
    return by_order_count() && !window.find_exact(target) && h264_order.has_picture_at(target);
}

void avi_reader::state::note_leading_b(const AVPacket& p, bool key_packet) {
    if (!in_leading_b) return;
    const std::vector<int> types = vop_types(p);
    // The key packet's own first picture is the key frame; a packed one
    // carries a leading B-picture behind it.
    const size_t first = key_packet ? 1 : 0;
    if (!key_packet && (types.empty() || types.front() != b_vop)) {
        in_leading_b = false;
        return;
    }
    for (size_t i = first; i < types.size(); ++i)
        if (types[i] == b_vop) ++leading_b;
}

bool avi_reader::state::feed_packet() {
    for (;;) {
        const int r = video_detail::ffmpeg().av_read_frame(fmt, packet.get());
        if (r < 0) {
            input_ended = true;
            video_detail::ffmpeg().avcodec_send_packet(dec.get(), nullptr);
            return true;
        }
        if (packet->stream_index != stream || packet->size <= 0) {
            // A packet without data is a dropped frame: its position shows
            // the frame before it.
            video_detail::ffmpeg().av_packet_unref(packet.get());
            continue;
        }
        size_t side_size = 0;
        const uint8_t* side =
            video_detail::ffmpeg().av_packet_get_side_data(packet.get(), AV_PKT_DATA_PALETTE, &side_size);
        if (side && side_size == AVPALETTE_SIZE) {
            palette.assign(side, side + side_size);
            attach_palette = false;
        } else if (attach_palette) {
            uint8_t* pal =
                video_detail::ffmpeg().av_packet_new_side_data(packet.get(), AV_PKT_DATA_PALETTE, AVPALETTE_SIZE);
            if (pal) std::memcpy(pal, palette.data(), AVPALETTE_SIZE);
            attach_palette = false;
        }
        if (!run_started) {
            run_started = true;
            run_base = packet->dts != AV_NOPTS_VALUE   ? packet->dts
                       : packet->pts != AV_NOPTS_VALUE ? packet->pts
                                                       : 0;
            in_leading_b = mpeg4_visual;
            note_leading_b(*packet, true);
        } else {
            note_leading_b(*packet, false);
        }
        if (h264) {
            const int64_t position = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
            packet->pts = position;
            h264_order.note(*packet, position);
        }
        // A damaged packet is refused by the decoder; the run goes on with
        // the next one and the frame it belonged to counts as missing.
        video_detail::ffmpeg().avcodec_send_packet(dec.get(), packet.get());
        video_detail::ffmpeg().av_packet_unref(packet.get());
        return true;
    }
}

const AVFrame* avi_reader::state::run_to(int64_t target, bool& late) {
    late = false;
    // Every call ends: each pass either receives a frame, reads a packet of
    // the finite input, or stops at the end of the drain.
    for (;;) {
        const int r = video_detail::ffmpeg().avcodec_receive_frame(dec.get(), incoming.get());
        if (r == 0) {
            ++run_outputs;
            const int64_t no = number_of(*incoming);
            // A frame without a place (a leading picture of the run's key
            // frame) or numbered before the one already kept (a damaged
            // stream) is passed over.
            const bool kept = no >= 0 && window.push(no, *incoming);
            video_detail::ffmpeg().av_frame_unref(incoming.get());
            if (!kept) continue;
            if (no == target) return window.newest();
            if (no > target) {
                // The frame before a gap that holds the target, if kept.
                const AVFrame* f = dropped(target) ? nullptr : window.find(target);
                if (f) return f;
                late = true;
                return nullptr;
            }
            continue;
        }
        if (r == AVERROR(EAGAIN) && !input_ended) {
            feed_packet();
            continue;
        }
        // The decoder is drained (or failed): positions after the last frame
        // have no data of their own.
        drained = true;
        if (dropped(target)) {
            late = true;
            return nullptr;
        }
        if (!window.empty() && window.newest_position() < target) return window.newest();
        return nullptr;
    }
}

const AVFrame* avi_reader::state::fetch(int64_t target, int64_t start) {
    if (!dec) return nullptr;
    if (!dropped(target))
        if (const AVFrame* f = window.find(target)) return f;
    const int64_t newest = window.newest_position();
    const bool ahead = newest >= 0 && target > newest;
    if (ahead && drained) return window.newest();
    int64_t key = key_at_or_before(target, start);
    const bool forward = ahead && (target == newest + 1 || key <= newest);
    if (!forward && !seek_to(key, start)) return nullptr;
    bool late = false;
    const AVFrame* f = run_to(target, late);
    for (int retry = 0; late && key > start; ++retry) {
        // The run began after the frame: it is one of the key frame's leading
        // B-frames, which the key frame before reaches, or the seek landed
        // elsewhere on a damaged index, where only the beginning is sure.
        key = retry == 0 ? key_at_or_before(key - 1, start) : start;
        if (!seek_to(key, start)) return nullptr;
        f = run_to(target, late);
    }
    if (late) {
        // Nothing earlier exists: the first frame there is stands for it.
        f = window.newest();
    }
    return f;
}

}  // namespace mevra
