#pragma once
// Runs the mevra-cli binary named by $MEVRA_CLI and collects its output.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace mevra::test {

struct cli_result {
    int status = -1;
    std::string out;  // stdout and stderr together
};

inline std::string shell_quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// `environment` is put before the command as the shell's NAME=value words.
inline cli_result run_mevra_cli(const std::string& args, const std::string& environment = "") {
    const char* cli = std::getenv("MEVRA_CLI");
    EXPECT_NE(cli, nullptr) << "MEVRA_CLI names the binary under test";
    cli_result r;
    if (!cli) return r;
    FILE* pipe = popen((environment + " " + shell_quote(cli) + " " + args + " 2>&1").c_str(), "r");
    std::array<char, 4096> buf{};
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
        r.out.append(buf.data(), n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

}  // namespace mevra::test
