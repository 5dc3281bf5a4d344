// mevra-cli: the headless companion of MEVRA, driving the same core.
#include <CLI/CLI.hpp>
#include <string>

#include "cli/commands.h"
#include "cli/english_texts.h"
#include "platform/pending_temp_files.h"

int main(int argc, char** argv) {
    mevra::cli::use_interface_language();
    // Stopped in the middle of a save, the hidden temporary file goes too.
    mevra::remove_temp_files_on_stop_signals();
    CLI::App app{"MEVRA command line: inspect, reduce and convert palette images and textures."};
    app.name("mevra-cli");
    app.set_version_flag("--version", std::string("mevra-cli ") + MEVRA_VERSION);
    app.require_subcommand(1);
    mevra::cli::command_status status;
    mevra::cli::add_info_command(app, status);
    mevra::cli::add_convert_command(app, status);
    mevra::cli::add_avi_command(app, status);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e);
        return code == 0 ? 0 : mevra::cli::exit_usage;
    }
    return status.exit_code;
}
