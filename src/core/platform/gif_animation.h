#pragma once
// Animated GIF89a with giflib, built in memory one frame at a time: one
// global colour table for all frames, every frame covering the whole canvas
// with the same delay, and the NETSCAPE2.0 extension asking for endless
// looping. The first palette entry with alpha 0 is the transparent index;
// frames then clear to the background before the next, so no earlier frame
// shows through.
#include <cstdint>
#include <string>
#include <vector>

struct GifFileType;

namespace mevra {

class gif_animation_encoder {
  public:
    gif_animation_encoder() = default;
    ~gif_animation_encoder();
    gif_animation_encoder(const gif_animation_encoder&) = delete;
    gif_animation_encoder& operator=(const gif_animation_encoder&) = delete;

    // Writes the header: `palette` with 1 … 256 colours, `delay_cs` in
    // hundredths of a second (0 … 65535).
    bool start(int width, int height, const std::vector<uint32_t>& palette, int delay_cs,
               std::string& error);
    // One frame of width × height indices, each below the palette's size.
    bool add_frame(const std::vector<uint8_t>& indices, std::string& error);
    // Ends the file and hands its bytes over.
    bool finish(std::vector<uint8_t>& out, std::string& error);

    int frames() const { return frames_; }

  private:
    bool fail(std::string& error);

    GifFileType* file_ = nullptr;
    std::vector<uint8_t> bytes_;
    int width_ = 0, height_ = 0, colours_ = 0, delay_cs_ = 0, transparent_ = -1, frames_ = 0;
};

}  // namespace mevra
