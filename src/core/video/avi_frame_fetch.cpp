// Random access to frames. AVI positions are sample numbers; the demuxer
// gives each packet its position as timestamp. A seek lands on the key frame
// at or before the wanted position (or, on a damaged index, somewhere else),
// so the frame is always identified after decoding, never assumed.
#include <algorithm>
#include <cstring>
#include <utility>

#include "video/avi_reader_state.h"

namespace mevra {

void avi_reader::state::reset_run() {
    run_started = false;
    run_base = 0;
    run_outputs = 0;
    input_ended = false;
    drained = false;
    attach_palette = !palette.empty();
    held_no = prev_no = -1;
}

int64_t avi_reader::state::key_at_or_before(int64_t ts, int64_t start) const {
    AVStream* st = fmt->streams[stream];
    const int i = av_index_search_timestamp(st, ts, AVSEEK_FLAG_BACKWARD);
    if (i < 0) return start;
    const AVIndexEntry* e = avformat_index_get_entry(st, i);
    return e ? std::max(e->timestamp, start) : start;
}

bool avi_reader::state::seek_to(int64_t ts, int64_t start) {
    if (av_seek_frame(fmt, stream, std::max(ts, start), AVSEEK_FLAG_BACKWARD) < 0) {
        // Back to the very beginning: reopening is the one way that works
        // for files without a usable index too.
        avi_failure ignored;
        if (!open(ignored, "")) return false;
    }
    avcodec_flush_buffers(dec.get());
    reset_run();
    return true;
}

int64_t avi_reader::state::number_of(const AVFrame& f) const {
    // With B-frames an AVI packet's position is its place in decoding order,
    // so timestamps of reordered frames are ambiguous; there the frames are
    // counted from the key frame the run began with, in display order.
    if (dec->has_b_frames > 0 || f.best_effort_timestamp == AV_NOPTS_VALUE)
        return run_base + run_outputs - 1;
    return f.best_effort_timestamp;
}

bool avi_reader::state::feed_packet() {
    for (;;) {
        const int r = av_read_frame(fmt, packet.get());
        if (r < 0) {
            input_ended = true;
            avcodec_send_packet(dec.get(), nullptr);
            return true;
        }
        if (packet->stream_index != stream || packet->size <= 0) {
            // A packet without data is a dropped frame: its position shows
            // the frame before it.
            av_packet_unref(packet.get());
            continue;
        }
        size_t side_size = 0;
        const uint8_t* side =
            av_packet_get_side_data(packet.get(), AV_PKT_DATA_PALETTE, &side_size);
        if (side && side_size == AVPALETTE_SIZE) {
            palette.assign(side, side + side_size);
            attach_palette = false;
        } else if (attach_palette) {
            uint8_t* pal =
                av_packet_new_side_data(packet.get(), AV_PKT_DATA_PALETTE, AVPALETTE_SIZE);
            if (pal) std::memcpy(pal, palette.data(), AVPALETTE_SIZE);
            attach_palette = false;
        }
        if (!run_started) {
            run_started = true;
            run_base = packet->dts != AV_NOPTS_VALUE   ? packet->dts
                       : packet->pts != AV_NOPTS_VALUE ? packet->pts
                                                       : 0;
        }
        // A damaged packet is refused by the decoder; the run goes on with
        // the next one and the frame it belonged to counts as missing.
        avcodec_send_packet(dec.get(), packet.get());
        av_packet_unref(packet.get());
        return true;
    }
}

const AVFrame* avi_reader::state::run_to(int64_t target, bool& late) {
    late = false;
    // Every call ends: each pass either receives a frame, reads a packet of
    // the finite input, or stops at the end of the drain.
    for (;;) {
        const int r = avcodec_receive_frame(dec.get(), incoming.get());
        if (r == 0) {
            ++run_outputs;
            const int64_t no = number_of(*incoming);
            std::swap(prev, held);
            std::swap(held, incoming);
            av_frame_unref(incoming.get());
            prev_no = held_no;
            held_no = no;
            if (no == target) return held.get();
            if (no > target) {
                if (prev_no >= 0 && prev_no < target) return prev.get();
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
        if (held_no >= 0 && held_no < target) return held.get();
        return nullptr;
    }
}

const AVFrame* avi_reader::state::fetch(int64_t target, int64_t start) {
    if (!dec) return nullptr;
    if (held_no == target) return held.get();
    if (prev_no >= 0 && prev_no <= target && target < held_no) return prev.get();
    const bool ahead = held_no >= 0 && target > held_no;
    if (ahead && drained) return held.get();
    const int64_t key = key_at_or_before(target, start);
    const bool forward = ahead && (target == held_no + 1 || key <= held_no);
    if (!forward && !seek_to(key, start)) return nullptr;
    bool late = false;
    const AVFrame* f = run_to(target, late);
    if (late && key > start) {
        // The seek landed after the frame: decode from the beginning.
        if (!seek_to(start, start)) return nullptr;
        f = run_to(target, late);
    }
    if (late) {
        // Nothing earlier exists: the first frame there is stands for it.
        f = held_no >= 0 ? held.get() : nullptr;
    }
    return f;
}

}  // namespace mevra
