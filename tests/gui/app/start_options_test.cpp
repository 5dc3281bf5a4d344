// `mevra --help`, `--version` and unknown options are answered without a
// window: the program runs here with no display, where making one fails.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "app/start_options.h"

namespace {

// The exit status and standard output (or, with `errors`, standard error).
std::pair<int, std::string> run_mevra(const std::string& arguments, bool errors = false) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb '" +
                                std::string(MEVRA_BINARY) + "' " + arguments +
                                (errors ? " 2>&1 >/dev/null" : " 2>/dev/null");
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> buf{};
    for (size_t n; (n = fread(buf.data(), 1, buf.size(), pipe)) > 0;) out.append(buf.data(), n);
    const int raw = pclose(pipe);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, out};
}

TEST(StartOptions, HelpVersionAndUnknownOptionsEndTheProgramWithoutAWindow) {
    const auto [help_status, help] = run_mevra("--help");
    EXPECT_EQ(help_status, 0);
    EXPECT_EQ(help.rfind("Usage: mevra ", 0), 0u) << help;
    EXPECT_EQ(run_mevra("--help", true).second, "");
    const std::string version = "mevra " MEVRA_VERSION "\n";
    EXPECT_EQ(run_mevra("a.png --version"), std::pair(0, version));

    for (const char* arguments : {"--bogus", "-x a.png", "-style fusion --frobnicate"}) {
        EXPECT_EQ(run_mevra(arguments), std::pair(2, std::string())) << arguments;
        const std::string err = run_mevra(arguments, true).second;
        EXPECT_NE(err.find("mevra: unknown option '-"), std::string::npos) << err;
        EXPECT_NE(err.find("Usage: mevra "), std::string::npos) << err;
    }
}

TEST(StartOptions, QtOptionsFilesAndAnythingAfterTheEndMarkerStartTheProgram) {
    using mevra::gui::answer_start_options;
    EXPECT_FALSE(answer_start_options({"mevra", "-platform", "offscreen", "-reverse", "a.png"}));
    EXPECT_FALSE(answer_start_options({"mevra", "--style=fusion", "-", "--", "--help"}));
    EXPECT_FALSE(answer_start_options({"mevra", "-qwindowtitle", "--help"}));  // a value
}

}  // namespace
