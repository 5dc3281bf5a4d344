// `mevra --help`, `--version` and unknown options are answered without a
// window: the program runs here with no display at all, where making one
// would fail.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "app/start_options.h"
#include "support/test_support.h"

namespace {

struct run_result {
    int status = -1;
    std::string out, err;
};

run_result run_mevra(const std::string& arguments) {
    mevra::test::temp_dir dir;
    const std::string err_file = dir.file("stderr");
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb '" +
                                std::string(MEVRA_BINARY) + "' " + arguments + " 2>'" +
                                err_file + "'";
    run_result r;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> buf{};
    for (size_t n; (n = fread(buf.data(), 1, buf.size(), pipe)) > 0;)
        r.out.append(buf.data(), n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const std::vector<uint8_t> err = mevra::test::read_bytes(err_file);
    r.err.assign(err.begin(), err.end());
    return r;
}

TEST(StartOptions, HelpAndVersionPrintOnStandardOutputWithoutAWindow) {
    const run_result help = run_mevra("--help");
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_EQ(help.out.rfind("Usage: mevra ", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("  --version"), std::string::npos) << help.out;
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(run_mevra("-h").out, help.out);

    const run_result version = run_mevra("a.png --version");
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, std::string("mevra ") + MEVRA_VERSION + "\n");
}

TEST(StartOptions, AnUnknownOptionGetsTheUsageOnStandardErrorAndStatusTwo) {
    for (const char* arguments : {"--bogus", "-x a.png", "-style fusion --frobnicate"}) {
        const run_result r = run_mevra(arguments);
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_EQ(r.out, "") << arguments;
        EXPECT_NE(r.err.find("mevra: unknown option '-"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("Usage: mevra "), std::string::npos) << r.err;
    }
}

TEST(StartOptions, QtOptionsFilesAndAnythingAfterTheEndMarkerStartTheProgram) {
    using mevra::gui::answer_start_options;
    EXPECT_FALSE(answer_start_options({"mevra"}));
    EXPECT_FALSE(answer_start_options({"mevra", "-platform", "offscreen", "-reverse", "a.png"}));
    EXPECT_FALSE(answer_start_options({"mevra", "--style=fusion", "-", "b.png"}));
    EXPECT_FALSE(answer_start_options({"mevra", "--", "--help", "-x.png"}));
    // An option's value is not taken for an option itself.
    EXPECT_FALSE(answer_start_options({"mevra", "-qwindowtitle", "--help"}));
}

}  // namespace
