// `mevra-cli convert --settings FILE`: the file's options are the start, the
// command line's options override them, a missing file is a usage error.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "image/image_info.h"
#include "support/test_support.h"

namespace mevra {
namespace {

struct cli_result {
    int status = -1;
    std::string out;
};

cli_result cli(const std::string& args) {
    const char* binary = std::getenv("MEVRA_CLI");
    cli_result r;
    if (!binary) {
        ADD_FAILURE() << "MEVRA_CLI names the binary under test";
        return r;
    }
    FILE* pipe = popen((std::string(binary) + " " + args + " 2>&1").c_str(), "r");
    std::array<char, 4096> buf{};
    for (size_t n; (n = fread(buf.data(), 1, buf.size(), pipe)) > 0;)
        r.out.append(buf.data(), n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

void write_text(const std::string& path, const std::string& text) {
    test::write_bytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

TEST(CliSettings, StartsFromTheFileAndTheCommandLineOverrides) {
    test::temp_dir dir;
    const std::string src = dir.file("photo.png"), out = dir.file("out/");
    std::filesystem::create_directory(out);
    std::string error;
    ASSERT_EQ(test::make_photo_like(64, 48, 3).file_save_png(src, error), 0) << error;
    const std::string ini = dir.file("mevra.ini");
    // A line-feed file with a damaged value: the level falls back to its default.
    write_text(ini, "Option TargetColor\n7\nOption DitherType\n0\nOption DitherLevel\nxx\n");

    const std::string common = " --op reduce --format png --overwrite --out-dir " + out + " ";
    auto r = cli("convert --settings " + ini + common + src);
    ASSERT_EQ(r.status, 0) << r.out;
    image_info from_file(dir.file("out/photo.png"));
    EXPECT_EQ(from_file.count_distinct_colors(), 7);

    r = cli("convert --colors 3 --settings " + ini + common + src);
    ASSERT_EQ(r.status, 0) << r.out;
    image_info overridden(dir.file("out/photo.png"));
    EXPECT_EQ(overridden.count_distinct_colors(), 3);

    r = cli("convert --settings " + dir.file("none.ini") + common + src);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("--settings"), std::string::npos) << r.out;
}

TEST(CliSettings, RefinePassesComeFromTheFileOrTheCommandLine) {
    test::temp_dir dir;
    const std::string src = dir.file("photo.png"), ini = dir.file("mevra.ini");
    std::string error;
    ASSERT_EQ(test::make_photo_like(64, 48, 4).file_save_png(src, error), 0) << error;
    write_text(ini, "Option DitherType\n0\nOption RefinePasses\n6\n");
    auto reduce = [&](const std::string& options) {
        EXPECT_EQ(cli("convert --op reduce --colors 8 --dither none --overwrite " + options +
                      " -o " + dir.file("out.png") + " " + src)
                      .status,
                  0);
        return test::read_bytes(dir.file("out.png"));
    };
    const auto off = reduce(""), from_file = reduce("--settings " + ini);
    EXPECT_EQ(reduce("--refine 6"), from_file);
    EXPECT_NE(from_file, off);
}

}  // namespace
}  // namespace mevra
