// Hundreds of damaged settings files: whatever they hold, every option read
// lies in the range its consumers need, every window value is usable, and
// what was read is written and read back unchanged.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "settings/clgbase.h"
#include "settings/ini_file.h"

namespace mevra {
namespace {

void expect_in_range(const clgbase& c, const std::string& why) {
    const auto in = [](int v, int low, int high) { return v >= low && v <= high; };
    EXPECT_TRUE(
        in(c.zoom_level, 0, 12) && in(c.grid_mode, 0, 1) && in(c.grid_type, 0, 9) &&
        in(c.argb_unit, 0, 1) && in(c.draw_type, 0, 4) && in(c.cursor_zoom, 0, 3) &&
        in(c.background_type, 0, 4) && in(c.jpeg_compress, 10, 100) && in(c.dds_format, 0, 8) &&
        in(c.dds_mipmaps, 0, 1) &&
        in(c.nuki_flg_color, 0, 1) && in(c.nuki_flg_alpha0, 0, 1) &&
        in(c.nuki_flg_palette0, 0, 1) && in(c.target_color, 2, 256) && in(c.conv_mode, 0, 3) &&
        in(c.dither_type, 0, 3) && in(c.dither_level, 1, 10) && in(c.transparency_mode, 0, 1) &&
        in(c.trim_palette_reserve, 0, 1) && in(c.batch_conv_index, 0, 16) &&
        in(c.batch_use_out_folder, 0, 1) && in(c.batch_format_type, 0, 6) &&
        in(c.batch_over_write_check, 0, 1) && in(c.aviren_option1, 0, 2) &&
        in(c.aviren_option2, 0, 4) && in(c.aviren_option3, 0, 6) && c.image_last_open_pos == 0)
        << why;
    for (const auto& slot : c.image_last_open_log10)
        EXPECT_EQ(slot.find_first_of("\r\n"), std::string::npos) << why;
}

void expect_usable(const placement& p, const std::string& why) {
    for (const auto& v : {p.left, p.top})
        EXPECT_TRUE(!v || (*v >= ini_coordinate_min && *v <= ini_coordinate_max)) << why;
    for (const auto& v : {p.width, p.height})
        EXPECT_TRUE(!v || (*v >= 1 && *v <= ini_size_max)) << why;
}

// A good file with every field away from its default, to damage.
std::string sample_file() {
    clgbase clg;
    clg.zoom_level = 9;
    clg.target_color = 17;
    clg.dither_level = 2;
    clg.nuki_color = 0x12345678u;
    clg.batch_out_folder_name = "/srv/out";
    for (int i = 0; i < 12; ++i)
        clg.set_image_last_open("/pictures/p" + std::to_string(i) + ".png");
    window_layout layout = missing_file_layout();
    layout.main_window = {.left = 10, .top = 20, .width = 800, .height = 600, .visible = {}};
    layout.avi_player = {.left = 1, .top = 2, .width = 300, .height = 200, .visible = true};
    layout.listview_path1 = "/a";
    return write_ini_text(clg, layout);
}

std::string damage(const std::string& good, std::mt19937& rng) {
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    std::string text = good;
    switch (pick(5)) {
        case 0:  // truncated anywhere
            text.resize(pick(text.size() + 1));
            break;
        case 1:  // random bytes sprinkled over it
            for (size_t n = 1 + pick(40); n > 0; --n)
                text[pick(text.size())] = static_cast<char>(pick(256));
            break;
        case 2: {  // pure binary garbage
            text.assign(pick(2000), '\0');
            for (char& c : text)
                c = static_cast<char>(pick(256));
            break;
        }
        case 3: {  // huge, negative or odd numbers in place of value lines
            static const char* const odd[] = {"99999999999999999999",
                                              "-2147483649",
                                              "2147483647",
                                              "-2147483648",
                                              "1e9",
                                              "0x10",
                                              "",
                                              " ",
                                              "-0",
                                              "ffffffffff"};
            for (size_t n = 1 + pick(20); n > 0; --n) {
                size_t at = text.find("\r\n", pick(text.size()));
                if (at == std::string::npos) continue;
                const size_t end = text.find("\r\n", at + 2);
                text.replace(at + 2, (end == std::string::npos ? text.size() : end) - at - 2,
                             odd[pick(std::size(odd))]);
            }
            break;
        }
        default:  // lines lost, so later keys land on value lines
            for (size_t n = 1 + pick(5); n > 0; --n) {
                const size_t at = text.find("\r\n", pick(text.size()));
                const size_t end = at == std::string::npos ? at : text.find("\r\n", at + 2);
                if (end != std::string::npos) text.erase(at, end - at);
            }
            break;
    }
    return text;
}

TEST(IniDamage, EveryDamagedFileLoadsInRangeAndRoundTrips) {
    const std::string good = sample_file();
    std::mt19937 rng(20261208);
    for (int round = 0; round < 400; ++round) {
        const std::string text = damage(good, rng);
        const std::string why = "round " + std::to_string(round);
        clgbase clg;
        const window_layout layout = read_ini_text(text, clg);
        expect_in_range(clg, why);
        for (const placement* p : {&layout.main_window, &layout.palette, &layout.listview,
                                   &layout.avi_player, &layout.option_dialog})
            expect_usable(*p, why);
        EXPECT_TRUE(!layout.main_state || (*layout.main_state >= 0 && *layout.main_state <= 2));

        // What was read is written and comes back unchanged (absent window
        // values are written as the start placements, so compare the text).
        const std::string written = write_ini_text(clg, layout);
        clgbase again;
        EXPECT_EQ(write_ini_text(again, read_ini_text(written, again)), written) << why;
        if (HasFailure()) break;
    }
}

}  // namespace
}  // namespace mevra
