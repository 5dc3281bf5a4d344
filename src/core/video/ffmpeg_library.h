#pragma once
// FFmpeg, loaded when the video module first needs it rather than when a
// program starts. Linking libavformat and libavcodec brings in some 130
// shared libraries (every codec they can use) whose loading costs each start
// of mevra-cli about 80 ms, more than a whole small conversion; only the AVI
// commands need them. Internal to the video module: call ffmpeg().name(...)
// where the FFmpeg function name(...) is meant.
//
// Where the libraries cannot be loaded, every function answers as FFmpeg does
// for a failure (an error code, a null pointer, nothing): files cannot be
// opened and no encoder is offered, and nothing crashes.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <string>

namespace mevra::video_detail {

// Every FFmpeg function the module calls, with its library.
#define MEVRA_FFMPEG_FUNCTIONS(X) \
    X(avutil, av_frame_alloc) \
    X(avutil, av_frame_copy) \
    X(avutil, av_frame_free) \
    X(avutil, av_frame_get_buffer) \
    X(avutil, av_frame_move_ref) \
    X(avutil, av_frame_unref) \
    X(avutil, av_free) \
    X(avutil, av_freep) \
    X(avutil, av_log_set_level) \
    X(avutil, av_malloc) \
    X(avutil, av_mallocz) \
    X(avutil, av_opt_set) \
    X(avutil, av_pix_fmt_desc_get) \
    X(avutil, av_strerror) \
    X(avcodec, av_packet_alloc) \
    X(avcodec, av_packet_free) \
    X(avcodec, av_packet_get_side_data) \
    X(avcodec, av_packet_new_side_data) \
    X(avcodec, av_packet_rescale_ts) \
    X(avcodec, av_packet_unref) \
    X(avcodec, av_parser_close) \
    X(avcodec, av_parser_init) \
    X(avcodec, av_parser_parse2) \
    X(avcodec, avcodec_alloc_context3) \
    X(avcodec, avcodec_descriptor_get) \
    X(avcodec, avcodec_find_best_pix_fmt_of_list) \
    X(avcodec, avcodec_find_decoder) \
    X(avcodec, avcodec_find_encoder_by_name) \
    X(avcodec, avcodec_flush_buffers) \
    X(avcodec, avcodec_free_context) \
    X(avcodec, avcodec_open2) \
    X(avcodec, avcodec_parameters_alloc) \
    X(avcodec, avcodec_parameters_free) \
    X(avcodec, avcodec_parameters_from_context) \
    X(avcodec, avcodec_parameters_to_context) \
    X(avcodec, avcodec_receive_frame) \
    X(avcodec, avcodec_receive_packet) \
    X(avcodec, avcodec_send_frame) \
    X(avcodec, avcodec_send_packet) \
    X(avformat, av_find_input_format) \
    X(avformat, av_index_search_timestamp) \
    X(avformat, av_interleaved_write_frame) \
    X(avformat, av_read_frame) \
    X(avformat, av_seek_frame) \
    X(avformat, av_write_trailer) \
    X(avformat, avformat_alloc_context) \
    X(avformat, avformat_alloc_output_context2) \
    X(avformat, avformat_close_input) \
    X(avformat, avformat_free_context) \
    X(avformat, avformat_index_get_entries_count) \
    X(avformat, avformat_index_get_entry) \
    X(avformat, avformat_new_stream) \
    X(avformat, avformat_open_input) \
    X(avformat, avformat_write_header) \
    X(avformat, avio_alloc_context) \
    X(avformat, avio_closep) \
    X(avformat, avio_context_free) \
    X(avformat, avio_open) \
    X(avformat, avio_read) \
    X(avformat, avio_seek) \
    X(swscale, sws_freeContext) \
    X(swscale, sws_getCachedContext) \
    X(swscale, sws_scale)

struct ffmpeg_functions {
#define MEVRA_FFMPEG_POINTER(library, name) decltype(&::name) name;
    MEVRA_FFMPEG_FUNCTIONS(MEVRA_FFMPEG_POINTER)
#undef MEVRA_FFMPEG_POINTER
};

// The functions, loaded on the first call (thread-safe).
const ffmpeg_functions& ffmpeg();
// Whether the libraries were found, and if not, why.
bool ffmpeg_loaded(std::string* why = nullptr);

}  // namespace mevra::video_detail
