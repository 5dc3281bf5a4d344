#pragma once
// Reading an AVI file's first video stream: open, length, rate and scale,
// and "decode frame n into a packed bitmap" with correct random access.
//
// Typical use by the player:
//   avi_reader avi;
//   avi_failure f;
//   if (avi.open(path, f) != 0) report_avi_failure(f);   // texts of the player
//   std::vector<uint8_t> dib;
//   if (avi.decode_frame(n, dib, f) == 0) frame_to_argb(dib, image);
//
// One object is used by one thread at a time (the player decodes on its
// worker thread only while playing, on the GUI thread otherwise).
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "video/avi_messages.h"

namespace mevra {

struct avi_stream_info {
    int length = 0;     // frames (samples) of the video stream
    uint32_t rate = 0;  // frames per second = rate / scale, e.g. 30000 / 1001
    uint32_t scale = 0;
    int64_t start = 0;  // sample position of frame 0
    int width = 0;      // from the stream header; decoded frames may differ
    int height = 0;
    std::string codec;     // FFmpeg's decoder name, e.g. "mjpeg", "h264", "rawvideo"
    int stream_count = 0;  // streams of every kind in the file
};

class avi_reader {
  public:
    avi_reader();
    ~avi_reader();
    avi_reader(const avi_reader&) = delete;
    avi_reader& operator=(const avi_reader&) = delete;

    // Opens `path` and its first video stream. On failure returns -1 with the
    // player's message and caption in `failure`:
    //  - the file does not exist: "AVI file" message, and a file already open
    //    stays open;
    //  - not readable as AVI: "AVIFileOpen"; no video stream: "AVIFileGetStream";
    //    no decoder for it: "AVIStreamGetFrameOpen"; in these cases the
    //    previously open file has been closed.
    int open(const std::string& path, avi_failure& failure);
    // The same from bytes in memory (kept by the reader); `name` stands in
    // for the path in messages.
    int open_memory(std::vector<uint8_t> bytes, const std::string& name, avi_failure& failure);
    void close();
    bool is_open() const;
    const avi_stream_info& info() const { return info_; }
    const std::string& path() const { return path_; }

    // Decodes frame n (0 … length − 1) into a packed bitmap (frame_bitmap.h).
    // Going on to the next frame never seeks; any other frame is reached from
    // the nearest key frame at or before it, identified by timestamps (or by
    // counting frames for streams with B-frames). A frame position without
    // data repeats the frame before it. Returns 0, or -1 with the player's
    // frame message ("AVIStreamGetFrames") when the frame cannot be decoded.
    int decode_frame(int n, std::vector<uint8_t>& dib, avi_failure& failure);

    // Bit count of the last decoded bitmap (0 before any).
    int last_bit_count() const { return last_bits_; }

    struct state;  // FFmpeg objects, see avi_reader.cpp

  private:
    int open_input(const std::string& url, const std::string& name, avi_failure& failure);

    std::unique_ptr<state> s_;
    avi_stream_info info_;
    std::string path_;
    int last_bits_ = 0;
};

}  // namespace mevra
