#pragma once
#include <CLI/CLI.hpp>

namespace mevra::cli {

inline constexpr int exit_ok = 0;
inline constexpr int exit_some_failed = 1;
inline constexpr int exit_usage = 2;

// Filled by the subcommand that ran.
struct command_status {
    int exit_code = exit_ok;
};

void add_info_command(CLI::App& app, command_status& status);
void add_convert_command(CLI::App& app, command_status& status);
void add_avi_command(CLI::App& app, command_status& status);

}  // namespace mevra::cli
