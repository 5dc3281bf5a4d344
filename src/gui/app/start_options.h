#pragma once
// The options of `mevra`, answered before any window (or display connection)
// is made: --help and --version print on standard output and end the
// program, an unknown option prints the usage on standard error and ends it
// with status 2, as mevra-cli does. Qt's own options (-platform, -style, …)
// are left to Qt, and every argument after "--" is a file.
#include <optional>
#include <string>
#include <vector>

namespace mevra::gui {

struct start_answer {
    int exit_status = 0;
    std::string out;  // for standard output
    std::string err;  // for standard error
};

// Nothing when the program should start with these arguments (argv[0]
// included), else what to print and the status to end with.
std::optional<start_answer> answer_start_options(const std::vector<std::string>& arguments);

}  // namespace mevra::gui
