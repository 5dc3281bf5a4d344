#include "support/test_support.h"

#include <unistd.h>

#include <fstream>
#include <random>
#include <stdexcept>

namespace mevra::test {

recording_ui::recording_ui(msg_answer answer) : answer_(answer) {
    previous_ = set_ui_port(this);
}

recording_ui::~recording_ui() {
    set_ui_port(previous_);
}

msg_answer recording_ui::message_box(const std::string& text, const std::string& caption,
                                     msg_buttons buttons) {
    messages.push_back({text, caption, buttons});
    if (script_.empty()) return answer_;
    const msg_answer next = script_.front();
    script_.pop_front();
    return next;
}

temp_dir::temp_dir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "mevra-test-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

temp_dir::~temp_dir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::vector<uint8_t> read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

image_info make_argb(int width, int height, const std::vector<uint32_t>& pixels) {
    return image_info(width, height, pixels.data());
}

image_info make_indexed(int type, int width, int height, const std::vector<uint32_t>& palette,
                        const std::vector<int32_t>& indices) {
    image_info img;
    img.flag = 1;
    img.width = width;
    img.height = height;
    img.image_type = type;
    img.color_num = static_cast<int>(palette.size());
    size_t room = std::max<size_t>(palette.size(), 256);
    img.color.assign(room, 0);
    img.color_cnt.assign(room, 0);
    std::copy(palette.begin(), palette.end(), img.color.begin());
    img.index_buff = indices;
    img.set_color_cnt();
    return img;
}

image_info make_photo_like(int width, int height, uint32_t seed, bool with_alpha) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> noise(-6, 6);
    auto clamp = [](int v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    return make_argb_by(width, height, [&](int x, int y) {
        int r = (x * 255) / std::max(1, width - 1) + noise(rng);
        int g = (y * 255) / std::max(1, height - 1) + noise(rng);
        int b = ((x + y) * 127) / std::max(1, width + height - 2) + 64 + noise(rng);
        int a = with_alpha ? ((x * 7 + y * 3) % 5 == 0 ? 0 : 128 + ((x ^ y) & 127)) : 255;
        return (clamp(a) << 24) | (clamp(r) << 16) | (clamp(g) << 8) | clamp(b);
    });
}

std::vector<uint32_t> argb_pixels(const image_info& img) {
    std::vector<uint32_t> out(static_cast<size_t>(img.pixel_count()));
    for (size_t p = 0; p < out.size(); ++p)
        out[p] = img.get_pos_color(static_cast<int64_t>(p));
    return out;
}

}  // namespace mevra::test
