// The ends of every integer option's range, and the size every size option
// gives, as a script sees them through the real binary.
#include <gtest/gtest.h>

#include <string>

#include "cli_runner.h"
#include "image/image_info.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using test::run_mevra_cli;
using test::shell_quote;

class CliLimits : public ::testing::Test {
  protected:
    test::temp_dir dir;
    std::string picture(int width, int height) {
        const std::string path = dir.file("in.png");
        std::string error;
        EXPECT_EQ(test::make_photo_like(width, height, 5).file_save_png(path, error), 0) << error;
        return path;
    }
};

TEST_F(CliLimits, EveryIntegerOptionTakesItsEndsAndRefusesOneBeyond) {
    const std::string src = shell_quote(picture(8, 6));
    struct limits {
        const char* option;  // what the message names
        const char* before;  // the call up to the value
        const char* after;   // the rest of the call after the value
        int low, high;
    };
    const limits table[] = {
        {"--colors", "--op reduce --colors ", "", 2, 256},
        {"--level", "--op reduce --dither diffusion-a --level ", "", 1, 10},
        {"--jpeg-quality", "--format jpg --jpeg-quality ", "", 10, 100},
        {"--jobs", "--jobs ", "", 1, 64},
        {"--size width", "--op resize --size ", "x4", 1, 32768},
        {"--size height", "--op resize --size 4x", "", 1, 32768},
        {"--size width", "--op resize --size ", "%x50%", 1, 1000},
        {"--margins", "--op resize --margins 0,0,0,", "", -32768, 32768},
        {"--pow2-percent", "--op resize --pow2 rect --pow2-percent ", "", 1, 1000},
    };
    int case_number = 0;
    for (const limits& l : table) {
        for (const int value : {l.low - 1, l.low, l.high, l.high + 1}) {
            const bool inside = value >= l.low && value <= l.high;
            const std::string out = dir.file("out" + std::to_string(case_number++) + ".png");
            const std::string call = std::string("convert --overwrite ") + l.before +
                                     std::to_string(value) + l.after + " -o " +
                                     shell_quote(out) + " " + src;
            const auto r = run_mevra_cli(call);
            if (inside) {
                EXPECT_NE(r.status, 2) << call << "\n" << r.out;
            } else {
                EXPECT_EQ(r.status, 2) << call << "\n" << r.out;
                EXPECT_NE(r.out.find(l.option), std::string::npos) << call << "\n" << r.out;
            }
        }
    }
}

TEST_F(CliLimits, EverySizeOptionGivesItsSize) {
    const std::string src = shell_quote(picture(200, 50));
    struct sized {
        const char* options;
        int width, height;
    };
    const sized table[] = {
        {"--op scale --size 100x100 --fit", 100, 25},
        {"--op scale --size 100x100 --cover", 400, 100},
        {"--op scale --size 30x40", 30, 40},
        {"--op scale --size 33%x50%", 66, 25},
        {"--op resize --size 300x20 --place center,bottom", 300, 20},
        {"--op resize --margins -2,0,3,3", 206, 48},
        {"--op resize --multiple pad16", 208, 64},
        {"--op resize --multiple cut16", 192, 48},
        {"--op resize --pow2 rect", 256, 64},
        {"--op resize --pow2 square", 256, 256},
        {"--op resize --pow2 rect --pow2-percent 50", 128, 32},
    };
    for (const sized& s : table) {
        const std::string out = dir.file("sized.png");
        const auto r = run_mevra_cli(std::string("convert --overwrite ") + s.options + " -o " +
                                     shell_quote(out) + " " + src);
        ASSERT_EQ(r.status, 0) << s.options << "\n" << r.out;
        const image_info img(out);
        EXPECT_EQ(img.width, s.width) << s.options;
        EXPECT_EQ(img.height, s.height) << s.options;
    }
}

}  // namespace
}  // namespace mevra
