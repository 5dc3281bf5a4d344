#pragma once
// Writes one video stream into a new AVI file, frame by frame, from packed
// bitmaps (frame_bitmap.h). The file is built under a temporary name beside
// the target and renamed only by finish(): an abandoned or failed write
// leaves no partial file and an existing target untouched.
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "video/avi_encoders.h"

namespace mevra {

class avi_writer {
  public:
    avi_writer();
    ~avi_writer();  // abandons an unfinished file
    avi_writer(const avi_writer&) = delete;
    avi_writer& operator=(const avi_writer&) = delete;

    // Prepares `path` for width × height frames at rate / scale frames per
    // second with the chosen encoder; `source_bits` (8, 16, 24, 32) is the
    // bit count of the bitmaps to come. 0, or -1 with the reason.
    int open(const std::string& path, int width, int height, uint32_t rate, uint32_t scale,
             int source_bits, const avi_encode_options& opt, std::string& error);
    // Encodes one bitmap at sample `position` (positions only grow; a gap
    // becomes empty frames in the file). 0, or -1 with the reason.
    int write_frame(int64_t position, std::span<const uint8_t> dib, std::string& error);
    // Flushes the encoder, completes the file and moves it to the target.
    int finish(std::string& error);
    // Removes the temporary file; the target stays as it was.
    void abandon();

    struct impl;

  private:
    std::unique_ptr<impl> p_;
};

// Silences FFmpeg's own console messages: failures reach the user through
// the program's messages instead. Called by every entry of the module.
void quiet_ffmpeg_log();

}  // namespace mevra
