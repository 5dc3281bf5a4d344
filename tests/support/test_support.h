#pragma once
// Helpers shared by the test programs: a recording message port, a scratch
// folder and small image builders.
#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "image/image_info.h"
#include "platform/ui_port.h"

namespace mevra::test {

// Records every message box, sound and debug line for the length of a test.
// Each box is answered by the next scripted answer (`answer_next`), then by
// `answer`.
class recording_ui final : public ui_port {
  public:
    struct message {
        std::string text;
        std::string caption;
        msg_buttons buttons;
    };
    explicit recording_ui(msg_answer answer = msg_answer::ok);
    ~recording_ui() override;
    recording_ui(const recording_ui&) = delete;
    recording_ui& operator=(const recording_ui&) = delete;

    void answer_next(msg_answer next) { script_.push_back(next); }
    msg_answer message_box(const std::string& text, const std::string& caption,
                           msg_buttons buttons) override;
    void exclamation() override { ++exclamations; }
    void debug_line(const std::string& line) override { debug.push_back(line); }

    std::vector<message> messages;
    std::vector<std::string> debug;
    int exclamations = 0;

  private:
    std::deque<msg_answer> script_;
    msg_answer answer_;
    ui_port* previous_;
};

// A fresh folder under the system temp folder, removed with its contents.
class temp_dir {
  public:
    temp_dir();
    ~temp_dir();
    temp_dir(const temp_dir&) = delete;
    temp_dir& operator=(const temp_dir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

std::vector<uint8_t> read_bytes(const std::string& path);
void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes);

// An ARGB image from pixels (row-major).
image_info make_argb(int width, int height, const std::vector<uint32_t>& pixels);
// An ARGB image filled by f(x, y).
template <class F>
image_info make_argb_by(int width, int height, F f) {
    std::vector<uint32_t> px(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            px[static_cast<size_t>(y) * width + x] = f(x, y);
    return make_argb(width, height, px);
}
// An indexed image (IMGTYP_256 or IMGTYP_16) with the given palette and indices;
// tables have room for 256 entries and counts are filled in.
image_info make_indexed(int type, int width, int height, const std::vector<uint32_t>& palette,
                        const std::vector<int32_t>& indices);

// A deterministic "photograph-like" ARGB image: smooth gradients plus noise.
image_info make_photo_like(int width, int height, uint32_t seed, bool with_alpha = false);

// The whole picture as ARGB values, whatever its storage.
std::vector<uint32_t> argb_pixels(const image_info& img);

}  // namespace mevra::test
