// Drives the real mevra-cli binary: argument handling, exit codes, naming of
// outputs and the results of the operations as another program sees them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "image/image_info.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

namespace fs = std::filesystem;

struct run_result {
    int status = -1;
    std::string out;  // stdout and stderr together
};

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

run_result run_cli(const std::string& args) {
    const char* cli = std::getenv("MEVRA_CLI");
    EXPECT_NE(cli, nullptr) << "MEVRA_CLI names the binary under test";
    run_result r;
    if (!cli) return r;
    std::string cmd = quote(cli) + " " + args + " 2>&1";
    FILE* pipe = popen(cmd.c_str(), "r");
    std::array<char, 4096> buf{};
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
        r.out.append(buf.data(), n);
    int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

class CliTest : public ::testing::Test {
  protected:
    test::temp_dir dir;
    std::string photo() {
        std::string path = dir.file("photo.png");
        auto img = test::make_photo_like(64, 48, 7);
        std::string error;
        EXPECT_EQ(img.file_save_png(path, error), 0) << error;
        return path;
    }
};

TEST_F(CliTest, UsageErrorsExitWithTwoAndNameTheOption) {
    std::string src = photo();
    // Each bad call and the words its message must contain.
    const std::pair<const char*, const char*> cases[] = {
        {"--colors 1", "--colors"},
        {"--colors 257", "--colors"},
        {"--colors x", "--colors"},
        {"--priority loud", "--priority"},
        {"--dither 4", "--dither"},
        {"--level 0", "--level"},
        {"--level 11", "--level"},
        {"--refine 17", "--refine"},
        {"--key-color 12345", "--key-color"},
        {"--format xcf", "--format"},
        {"--jpeg-quality 9", "--jpeg-quality"},
        {"--dds dxt2", "--dds"},
        {"--dds 9", "--dds"},
        {"--op nothing", "--op"},
        {"--op resize --size 0x10", "--size"},
        {"--op resize --size 10%x10", "--size"},
        {"--op resize --multiple pad3", "--multiple"},
        {"--op resize --pow2 circle", "--pow2"},
        {"--op scale --fit", "--fit"},
        {"--op resize --size 9x9 --margins 1,1,1,1", "only one"},
        {"--op rotate-right --size 5x5", "--op resize"}};
    for (const auto& [bad, words] : cases) {
        auto r = run_cli(std::string("convert ") + bad + " " + quote(src));
        EXPECT_EQ(r.status, 2) << bad << "\n" << r.out;
        EXPECT_NE(r.out.find(words), std::string::npos) << bad << "\n" << r.out;
    }
    EXPECT_EQ(run_cli("").status, 2);
    EXPECT_EQ(run_cli("info").status, 2);
}

TEST_F(CliTest, InfoReportsEveryFileAndFailsForUnreadableOnes) {
    std::string src = photo();
    std::string junk = dir.file("junk.png");
    test::write_bytes(junk, {1, 2, 3});
    auto r = run_cli("info --json " + quote(src) + " " + quote(junk));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("\"path\": \"" + src +
                         "\", \"format\": \"IMGFMT_PNG\", \"width\": 64, "
                         "\"height\": 48, \"image_type\": \"IMGTYP_RGB\", \"color_num\": 0"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("画像を開くことが出来ませんでした"), std::string::npos);
    auto plain = run_cli("info " + quote(src));
    EXPECT_EQ(plain.status, 0);
    EXPECT_NE(plain.out.find("64x48"), std::string::npos) << plain.out;
}

TEST_F(CliTest, ConvertNamesOutputsAndKeepsExistingFilesUnlessAsked) {
    std::string src = photo();
    auto r = run_cli("convert --format bmp " + quote(src));
    ASSERT_EQ(r.status, 0) << r.out;
    std::string bmp = dir.file("photo.bmp");
    ASSERT_TRUE(fs::exists(bmp));
    image_info back(bmp);
    EXPECT_EQ(back.format, IMGFMT_BMP);
    EXPECT_EQ(test::argb_pixels(back), test::argb_pixels(image_info(src)));

    auto kept = run_cli("convert --format bmp " + quote(src));
    EXPECT_EQ(kept.status, 1);
    EXPECT_NE(kept.out.find("--overwrite"), std::string::npos);
    EXPECT_EQ(run_cli("convert --format bmp --overwrite " + quote(src)).status, 0);

    fs::create_directory(dir.file("out"));
    EXPECT_EQ(run_cli("convert --format tga --out-dir " + quote(dir.file("out")) + " " + quote(src))
                  .status,
              0);
    EXPECT_TRUE(fs::exists(dir.file("out/photo.tga")));
    // A missing output folder is made; a file in its place is a usage error.
    EXPECT_EQ(run_cli("convert --out-dir " + quote(dir.file("new/deep")) + " " + quote(src)).status,
              0);
    EXPECT_TRUE(fs::exists(dir.file("new/deep/photo.png")));
    EXPECT_EQ(run_cli("convert --out-dir " + quote(src) + " " + quote(src)).status, 2);
    EXPECT_EQ(run_cli("convert --format png " + quote(dir.file("nothere.bmp"))).status, 1);
}

TEST_F(CliTest, ReduceProducesAnIndexedImageOfTheTargetSize) {
    std::string src = photo();
    auto r = run_cli(
        "convert --op reduce --colors 16 --dither diffusion-a --level 3 --time --format png " +
        std::string("--out-dir ") + quote(dir.path().string() + "/") + " --overwrite " +
        quote(src));
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("took"), std::string::npos);
    image_info out(src);
    EXPECT_EQ(out.image_type, IMGTYP_16);
    EXPECT_LE(out.count_distinct_colors(), 16);
    auto info = run_cli("info --json " + quote(src));
    EXPECT_NE(info.out.find("\"image_type\": \"IMGTYP_16\""), std::string::npos) << info.out;
}

TEST_F(CliTest, TransformOperationsAreReachableByNameAndIndex) {
    std::string src = photo();
    fs::create_directory(dir.file("a"));
    fs::create_directory(dir.file("b"));
    ASSERT_EQ(
        run_cli("convert --op rotate-right --out-dir " + quote(dir.file("a")) + " " + quote(src))
            .status,
        0);
    ASSERT_EQ(run_cli("convert --op 4 --out-dir " + quote(dir.file("b")) + " " + quote(src)).status,
              0);
    image_info a(dir.file("a/photo.png")), b(dir.file("b/photo.png"));
    EXPECT_EQ(a.width, 48);
    EXPECT_EQ(a.height, 64);
    EXPECT_EQ(test::argb_pixels(a), test::argb_pixels(b));

    fs::create_directory(dir.file("c"));
    ASSERT_EQ(run_cli("convert --op resize --multiple pad16 --back-color FF102030 --out-dir " +
                      quote(dir.file("c")) + " " + quote(src))
                  .status,
              0);
    image_info c(dir.file("c/photo.png"));
    EXPECT_EQ(c.width, 64);
    EXPECT_EQ(c.height, 48);
    fs::create_directory(dir.file("d"));
    ASSERT_EQ(run_cli("convert --op scale --size 50%x50% --out-dir " + quote(dir.file("d")) + " " +
                      quote(src))
                  .status,
              0);
    image_info d(dir.file("d/photo.png"));
    EXPECT_EQ(d.width, 32);
    EXPECT_EQ(d.height, 24);
    fs::create_directory(dir.file("e"));
    ASSERT_EQ(run_cli("convert --op resize --size 100x100 --place center,center --back-color "
                      "FF102030 --out-dir " +
                      quote(dir.file("e")) + " " + quote(src))
                  .status,
              0);
    image_info e(dir.file("e/photo.png"));
    EXPECT_EQ(e.width, 100);
    EXPECT_EQ(e.get_pos_color(0), 0xFF102030u);
}

}  // namespace
}  // namespace mevra

namespace mevra {
namespace {

TEST_F(CliTest, EveryOutputFormatIsWrittenAndDdsSizeRefusalsCountAsFailures) {
    std::string src = photo();  // 64 × 48: multiples of 4
    for (const char* format : {"jpg", "tif", "gif", "dds", "bmp", "tga"}) {
        auto r = run_cli(std::string("convert --format ") + format +
                         " --dds dxt5 --jpeg-quality 90 " + quote(src));
        EXPECT_EQ(r.status, 0) << format << "\n" << r.out;
        EXPECT_TRUE(fs::exists(dir.file(std::string("photo.") + format))) << format;
    }
    auto dds = test::read_bytes(dir.file("photo.dds"));
    ASSERT_GE(dds.size(), 128u);
    EXPECT_EQ(std::string(dds.begin() + 84, dds.begin() + 88), "DXT5");
    // The two newer block layouts, by name, by alias and by number.
    const std::pair<const char*, const char*> layouts[] = {
        {"dxt1", "DXT1"}, {"BC1", "DXT1"}, {"5", "DXT1"}, {"bc7", "DX10"}, {"6", "DX10"}};
    for (const auto& [name, fourcc] : layouts) {
        auto r = run_cli(std::string("convert --format dds --overwrite --dds ") + name + " " +
                         quote(src));
        EXPECT_EQ(r.status, 0) << name << "\n" << r.out;
        dds = test::read_bytes(dir.file("photo.dds"));
        ASSERT_GE(dds.size(), 128u) << name;
        EXPECT_EQ(std::string(dds.begin() + 84, dds.begin() + 88), fourcc) << name;
        EXPECT_EQ(dds.size(), (fourcc[3] == '1' ? 128u + 64 * 48 / 2 : 148u + 64 * 48)) << name;
    }
    image_info gif(dir.file("photo.gif"));
    EXPECT_EQ(gif.format, IMGFMT_GIF);
    EXPECT_NE(gif.image_type, IMGTYP_RGB);

    auto odd = test::make_photo_like(30, 30, 3);
    std::string odd_path = dir.file("odd.png");
    std::string error;
    ASSERT_EQ(odd.file_save_png(odd_path, error), 0) << error;
    auto r = run_cli("convert --format dds --dds dxt3 " + quote(odd_path) + " " + quote(src) +
                     " --overwrite");
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_FALSE(fs::exists(dir.file("odd.dds")));
    EXPECT_NE(r.out.find("odd.png"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace mevra

namespace mevra {
namespace {

// Runs a whole shell command line (for pipes and redirections); the exit status.
int run_shell(const std::string& line) {
    const int raw = std::system(line.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST_F(CliTest, ListFilesRunWithTheArgumentsAndReportProgressOrOnlyFailures) {
    std::string a = photo();
    fs::create_directory(dir.file("sub"));
    std::string b = dir.file("sub/b.png");
    fs::copy_file(a, b);
    std::string list = dir.file("my.lst");
    std::string text = b + "\r\n\r\n" + dir.file("gone.png") + "\n";
    test::write_bytes(list, std::vector<uint8_t>(text.begin(), text.end()));
    const std::string out = dir.file("made/here");
    auto r = run_cli("convert --progress --format tga --out-dir " + quote(out) + " --list " +
                     quote(list) + " " + quote(a));
    ASSERT_EQ(r.status, 0) << r.out;  // missing list lines are skipped, not failures
    EXPECT_TRUE(fs::exists(out + "/photo.tga"));
    EXPECT_TRUE(fs::exists(out + "/b.tga"));
    EXPECT_NE(r.out.find("[1/4] " + a + ": saved -> " + out + "/photo.tga"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("[4/4] " + dir.file("gone.png") + ": skipped"), std::string::npos);

    auto kept =
        run_cli("convert --quiet --format tga --out-dir " + quote(out) + " --list " + quote(list));
    EXPECT_EQ(kept.status, 1);
    EXPECT_EQ(kept.out, b + ": " + out + "/b.tga exists and was kept (use --overwrite)\n");
    auto quiet = run_cli("convert --quiet --overwrite --format tga --out-dir " + quote(out) +
                         " --list " + quote(list));
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(run_cli("convert --list " + quote(dir.file("none.lst"))).status, 2);
    EXPECT_EQ(run_cli("convert --format png").status, 2);  // nothing to convert
}

TEST_F(CliTest, SingleOutputsPipesAndVersion) {
    std::string src = photo();
    auto r = run_cli("convert -o " + quote(dir.file("one.TGA")) + " " + quote(src));
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(image_info(dir.file("one.TGA")).format, IMGFMT_TGA);
    EXPECT_EQ(
        run_cli("convert --format bmp -o " + quote(dir.file("two.img")) + " " + quote(src)).status,
        0);
    EXPECT_EQ(image_info(dir.file("two.img")).format, IMGFMT_BMP);
    for (const char* bad : {"-o x.foo", "-o x.png --out-dir d", "-", "- -"}) {
        auto u = run_cli(std::string("convert ") + bad + " " + quote(src));
        EXPECT_EQ(u.status, 2) << bad << "\n" << u.out;
    }

    // Standard input to standard output gives the bytes a file-to-file run gives.
    const char* cli = std::getenv("MEVRA_CLI");
    ASSERT_NE(cli, nullptr);
    const std::string piped = dir.file("piped.bmp");
    ASSERT_EQ(run_shell(quote(cli) + " convert --op mirror --format bmp - -o - < " + quote(src) +
                        " > " + quote(piped)),
              0);
    ASSERT_EQ(
        run_cli("convert --op mirror -o " + quote(dir.file("file.bmp")) + " " + quote(src)).status,
        0);
    EXPECT_EQ(test::read_bytes(piped), test::read_bytes(dir.file("file.bmp")));
    EXPECT_EQ(run_shell("printf junk | " + quote(cli) + " convert - -o - > /dev/null 2>&1"), 1);

    auto v = run_cli("--version");
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out.rfind("mevra-cli ", 0), 0u) << v.out;
    EXPECT_TRUE(v.out.size() > 10 && std::isdigit(static_cast<unsigned char>(v.out[10])));
}

}  // namespace
}  // namespace mevra

namespace mevra {
namespace {

// The text with the timings ("(0.012 s)", "took 0.012 s"), which differ from
// run to run, and the output folder's name taken out.
std::string comparable(std::string text, const std::string& folder) {
    for (size_t p; (p = text.find(" s)")) != std::string::npos;) {
        const size_t open = text.rfind(" (", p);
        text.erase(open, p + 3 - open);
    }
    for (size_t p; (p = text.find(" took ")) != std::string::npos;)
        text.erase(p, text.find('\n', p) - p);
    for (size_t p; (p = text.find(folder)) != std::string::npos;)
        text.replace(p, folder.size(), "OUT");
    return text;
}

TEST_F(CliTest, JobsGiveTheSameFilesLinesAndStatusAsOneJob) {
    const std::string a = photo();
    std::string list_text;
    for (int i = 0; i < 7; ++i) {
        const std::string name = dir.file("p" + std::to_string(i) + ".png");
        auto img = test::make_photo_like(40 + 8 * i, 36, static_cast<uint32_t>(i + 1));
        std::string error;
        ASSERT_EQ(img.file_save_png(name, error), 0) << error;
        list_text += name + "\n";
        if (i == 2) list_text += dir.file("gone.png") + "\n\n";
        if (i == 4) {
            test::write_bytes(dir.file("junk.png"), {'n', 'o', 't'});
            list_text += dir.file("junk.png") + "\n";
        }
    }
    const std::string list = dir.file("l.lst");
    test::write_bytes(list, std::vector<uint8_t>(list_text.begin(), list_text.end()));

    const std::string common = " --progress --time --op reduce --colors 16 --dither diffusion-a "
                               "--format dds --dds dxt5 --list " + quote(list) + " " + quote(a);
    fs::create_directory(dir.file("one"));
    fs::create_directory(dir.file("many"));
    fs::copy_file(a, dir.file("many/photo.dds"));  // kept: counts as a failure in both
    fs::copy_file(a, dir.file("one/photo.dds"));
    // Standard output and error apart: each keeps the list's order.
    struct separate_run {
        int status;
        std::string out, err;
    };
    auto run_into = [&](const std::string& folder, const std::string& jobs) {
        const std::string out = dir.file(folder + ".out"), err = dir.file(folder + ".err");
        const int status = run_shell(quote(std::getenv("MEVRA_CLI")) + " convert " + jobs +
                                     " --out-dir " + quote(dir.file(folder)) + common + " > " +
                                     quote(out) + " 2> " + quote(err));
        const auto text = [](const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); };
        const std::string name = dir.file(folder);
        return separate_run{status, comparable(text(test::read_bytes(out)), name),
                            comparable(text(test::read_bytes(err)), name)};
    };
    const separate_run one = run_into("one", "");
    const separate_run many = run_into("many", "--jobs 3");
    EXPECT_EQ(one.status, 1) << one.err;
    EXPECT_EQ(many.status, one.status);
    EXPECT_NE(one.out.find("p6.png -> OUT/p6.dds"), std::string::npos) << one.out;
    EXPECT_EQ(many.out, one.out);
    EXPECT_EQ(many.err, one.err);
    for (int i = 0; i < 7; ++i) {
        const std::string name = "p" + std::to_string(i) + ".dds";
        ASSERT_TRUE(fs::exists(dir.file("one/" + name)));
        EXPECT_EQ(test::read_bytes(dir.file("many/" + name)),
                  test::read_bytes(dir.file("one/" + name)))
            << name;
    }

    // Standard input and output belong to one process.
    const auto piped = run_cli("convert -j 2 --format png - -o " + quote(dir.file("x.png")));
    EXPECT_EQ(piped.status, 2);
    EXPECT_NE(piped.out.find("--jobs"), std::string::npos) << piped.out;
    EXPECT_EQ(run_cli("convert -j 2 -o - " + quote(a)).status, 2);
    EXPECT_EQ(run_cli("convert -j 0 " + quote(a)).status, 2);
    // One file with -o and several jobs is simply one conversion.
    EXPECT_EQ(run_cli("convert -j 4 -o " + quote(dir.file("single.bmp")) + " " + quote(a)).status,
              0);
}

// Entries that write the same file: the second one meets the first one's
// output exactly as in one process, whatever the number of jobs.
TEST_F(CliTest, JobsWithSharedOutputsBehaveAsOneJob) {
    fs::create_directory(dir.file("x"));
    fs::create_directory(dir.file("y"));
    std::string error;
    ASSERT_EQ(test::make_photo_like(30, 20, 1).file_save_png(dir.file("x/p.png"), error), 0);
    ASSERT_EQ(test::make_photo_like(20, 30, 2).file_save_png(dir.file("y/p.png"), error), 0);
    ASSERT_EQ(test::make_photo_like(24, 24, 3).file_save_png(dir.file("y/q.png"), error), 0);
    const std::string sources =
        quote(dir.file("x/p.png")) + " " + quote(dir.file("y/p.png")) + " " +
        quote(dir.file("y/q.png")) + " " + quote(dir.file("y/q.png"));
    for (const char* extra_text : {"", " --overwrite"}) {
        const std::string extra = extra_text;
        struct outcome {
            run_result run;
            std::vector<uint8_t> p, q;
        };
        auto run_into = [&](const std::string& folder, const std::string& jobs) {
            fs::create_directory(dir.file(folder));
            outcome o{run_cli("convert " + jobs + extra + " --format bmp --out-dir " +
                              quote(dir.file(folder)) + " " + sources),
                      test::read_bytes(dir.file(folder + "/p.bmp")),
                      test::read_bytes(dir.file(folder + "/q.bmp"))};
            o.run.out = comparable(o.run.out, dir.file(folder));
            return o;
        };
        const std::string suffix = extra.empty() ? "_ask" : "_replace";
        const outcome one = run_into("one" + suffix, "-j 1");
        const outcome many = run_into("many" + suffix, "-j 3");
        EXPECT_EQ(one.run.status, extra.empty() ? 1 : 0) << one.run.out;
        EXPECT_EQ(many.run.status, one.run.status) << many.run.out;
        EXPECT_EQ(many.run.out, one.run.out);
        EXPECT_FALSE(one.p.empty());
        EXPECT_EQ(many.p, one.p);
        EXPECT_EQ(many.q, one.q);
    }
}

// A reduction refused for too many key colours is a failed file: reported,
// nothing written, an existing output left alone, exit status 1, with one
// job or several.
TEST_F(CliTest, RefusedOperationsWriteNothingWithAnyNumberOfJobs) {
    std::string error;
    ASSERT_EQ(test::make_photo_like(20, 10, 4).file_save_png(dir.file("good.png"), error), 0);
    for (const char* name : {"bad.png", "bad2.png"}) {
        image_info keyed = test::make_photo_like(20, 10, 5, true);
        for (uint32_t k = 0; k < 3; ++k)
            keyed.argb_buff[k] = k + 1;  // three distinct colours of alpha 0
        ASSERT_EQ(keyed.file_save_png(dir.file(name), error), 0) << error;
    }
    const std::vector<uint8_t> old_output = {'o', 'l', 'd'};
    for (const char* jobs_text : {"-j 1", "-j 2"}) {
        const std::string jobs = jobs_text;
        const std::string out = dir.file("out" + jobs.substr(3));
        fs::create_directory(out);
        test::write_bytes(out + "/bad.bmp", old_output);
        const auto r = run_cli("convert " + jobs +
                               " --overwrite --op reduce --colors 2 --protect-key --key-alpha0 "
                               "--format bmp --out-dir " + quote(out) + " " +
                               quote(dir.file("bad.png")) + " " + quote(dir.file("good.png")) +
                               " " + quote(dir.file("bad2.png")));
        EXPECT_EQ(r.status, 1) << jobs << "\n" << r.out;
        EXPECT_NE(r.out.find("bad.png"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("bad2.png"), std::string::npos) << r.out;
        EXPECT_EQ(test::read_bytes(out + "/bad.bmp"), old_output) << jobs;
        EXPECT_FALSE(fs::exists(out + "/bad2.bmp")) << jobs;
        EXPECT_TRUE(fs::exists(out + "/good.bmp")) << jobs;
    }
}

}  // namespace
}  // namespace mevra
