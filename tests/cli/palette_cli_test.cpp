// Palettes on the command line: --palette, --shared-palette, --palette-out,
// --animate and `avi gif`, the animations checked by an independent decoder.
#include <gtest/gtest.h>

#include <cstdio>

#include "cli_runner.h"
#include "formats/palette_file.h"
#include "support/avi_test_files.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using test::run_mevra_cli;
using test::shell_quote;

class PaletteCliTest : public ::testing::Test {
  protected:
    test::temp_dir dir;
    std::string photo(const std::string& name, uint32_t seed) {
        std::string error;
        EXPECT_EQ(test::make_photo_like(48, 40, seed).file_save_png(dir.file(name), error), 0);
        return shell_quote(dir.file(name));
    }
    std::vector<uint32_t> palette(const std::string& name) {
        std::vector<uint32_t> p;
        std::string error;
        EXPECT_TRUE(read_palette_file(dir.file(name), p, error)) << name << ": " << error;
        return p;
    }
    // Frame count, size, delays (ms) and loop count as Pillow reads them.
    std::string pillow_view(const std::string& gif) {
        const std::string script =
            "from PIL import Image\nimport sys\nim = Image.open(sys.argv[1])\n"
            "d = []\nfor i in range(im.n_frames):\n    im.seek(i)\n"
            "    d.append(im.info.get('duration'))\n"
            "print(im.n_frames, im.size[0], im.size[1], d, im.info.get('loop'))\n";
        FILE* pipe =
            popen(("/usr/bin/python3 -c " + shell_quote(script) + " " + shell_quote(gif) + " 2>&1")
                      .c_str(),
                  "r");
        std::string out;
        char buf[512];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
            out.append(buf, n);
        pclose(pipe);
        return out;
    }
};

TEST_F(PaletteCliTest, ReductionOntoAPaletteFileKeepsItsColoursAndOrder) {
    const std::string in = photo("a.png", 1);
    test::write_bytes(dir.file("pal.hex"), {'f', 'f', '0',  '0', '0', '0', '\n', '0', '0', '0', '0',
                                            'f', 'f', '\n', 'f', 'f', 'f', 'f',  'f', 'f', '\n'});
    auto r =
        run_mevra_cli("convert --op reduce --dither diffusion-b --level 7 --palette " +
                      shell_quote(dir.file("pal.hex")) + " -o " + shell_quote(dir.file("out.png")) +
                      " --palette-out " + shell_quote(dir.file("used.gpl")) + " " + in);
    ASSERT_EQ(r.status, 0) << r.out;
    const std::vector<uint32_t> expected = {0xFFFF0000u, 0xFF0000FFu, 0xFFFFFFFFu};
    EXPECT_EQ(palette("used.gpl"), expected);
    image_info out(dir.file("out.png"));
    ASSERT_EQ(out.image_type, IMGTYP_16);
    EXPECT_EQ(std::vector<uint32_t>(out.color.begin(), out.color.begin() + 3), expected);

    // Without a given palette, --palette-out writes the one the reduction built.
    r = run_mevra_cli("convert --op reduce --colors 8 --overwrite -o " +
                      shell_quote(dir.file("out.png")) + " --palette-out " +
                      shell_quote(dir.file("built.act")) + " " + in);
    ASSERT_EQ(r.status, 0) << r.out;
    const auto table = palette("out.png");  // a 16-colour PNG holds 16 entries
    EXPECT_EQ(palette("built.act"), std::vector<uint32_t>(table.begin(), table.begin() + 8));

    for (const char* bad : {"--op save --palette x.hex", "--op reduce --palette none.hex",
                            "--op reduce --palette-out p.gpl --shared-palette --palette p.hex",
                            "--op reduce --palette-out p.xyz", "--op reduce --palette-out p.gpl",
                            "--op reduce --animate 100 -o x.gif"}) {
        r = run_mevra_cli(std::string("convert ") + bad + " " + in + " " + in);
        EXPECT_EQ(r.status, 2) << bad << "\n" << r.out;
    }
}

TEST_F(PaletteCliTest, SharedPaletteGivesEveryOutputTheSameTableWhateverTheJobs) {
    const std::string in =
        photo("p1.png", 21) + " " + photo("p2.png", 22) + " " + photo("p3.png", 23);
    for (const char* jobs : {"1", "2"}) {
        const std::string out = dir.file(std::string("j") + jobs);
        auto r =
            run_mevra_cli("convert --op reduce --colors 24 --shared-palette -j " +
                          std::string(jobs) + " --out-dir " + shell_quote(out) + " --palette-out " +
                          shell_quote(out + "/shared.pal") + " --palette-format riff " + in);
        ASSERT_EQ(r.status, 0) << r.out;
    }
    const auto shared = palette("j1/shared.pal");
    EXPECT_EQ(shared.size(), 24u);
    for (const char* name : {"p1.png", "p2.png", "p3.png"}) {
        const auto table = palette(std::string("j1/") + name);
        EXPECT_EQ(std::vector<uint32_t>(table.begin(), table.begin() + 24), shared) << name;
        EXPECT_EQ(test::read_bytes(dir.file(std::string("j1/") + name)),
                  test::read_bytes(dir.file(std::string("j2/") + name)))
            << name;
    }
}

TEST_F(PaletteCliTest, AnimatedGifsOpenInAnIndependentDecoder) {
    const std::string in = photo("f1.png", 31) + " " + photo("f2.png", 32) + " " +
                           photo("f3.png", 33) + " " + photo("f4.png", 34);
    auto r = run_mevra_cli(
        "convert --op reduce --shared-palette --colors 32 --format gif "
        "--animate 120 -o " +
        shell_quote(dir.file("anim.gif")) + " " + in);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(pillow_view(dir.file("anim.gif")), "4 48 40 [120, 120, 120, 120] 0\n");
    r = run_mevra_cli("convert --op reduce --shared-palette --format gif --animate 120 -o " +
                      shell_quote(dir.file("anim.gif")) + " " + in);
    EXPECT_EQ(r.status, 1) << "an existing animation is kept without --overwrite";

    // 6 frames at 30000/1001 fps; every second frame of 1 to 5 lasts 2 × 33.4 ms.
    const std::string movie = dir.file("movie.avi");
    auto recipe = test::raw_recipe(24, 6);
    recipe.rate = 30000;
    recipe.scale = 1001;
    test::make_avi(movie, recipe);
    r = run_mevra_cli("avi gif " + shell_quote(movie) + " -o " + shell_quote(dir.file("m.gif")) +
                      " --from 1 --to 5 --step 2 --colors 16 --dither none");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(pillow_view(dir.file("m.gif")), "3 32 24 [70, 70, 70] 0\n");
    r = run_mevra_cli("avi gif " + shell_quote(movie) + " -o " + shell_quote(dir.file("n.gif")) +
                      " --step 0");
    EXPECT_EQ(r.status, 2) << r.out;
}

}  // namespace
}  // namespace mevra
