// `mevra-cli convert`: load each file, apply one operation, save in a chosen
// format. The files run through the same batch engine as the batch dialog.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "batch/batch_engine.h"
#include "batch/batch_list_file.h"
#include "batch/batch_operation.h"
#include "cli/cli_batch_host.h"
#include "cli/commands.h"
#include "cli/option_values.h"
#include "cli/palette_options.h"
#include "cli/gif_animation_output.h"
#include "cli/parallel_convert.h"
#include "cli/reduce_options.h"
#include "cli/save_options.h"
#include "cli/settings_option.h"
#include "cli/size_options.h"
#include "cli/stdio_files.h"
#include "reduce/palette_mapping.h"
#include "settings/clgbase.h"

namespace mevra::cli {
namespace {

namespace fs = std::filesystem;

// More workers than this only fight over memory and processors.
constexpr int max_jobs = 64;

struct convert_options {
    std::string op = "save";
    std::string list;
    bool time = false, progress = false, quiet = false;
    std::vector<std::string> files;
    std::string settings_file;
    std::string jobs_text;
    int jobs = 1;
    reduce_options reduce;
    palette_options palettes;
    size_options sizes;
    save_options save;
};

// The output folder is made when missing: scripts expect that of a converter.
bool prepare_out_dir(const std::string& dir, std::string& error) {
    std::error_code ec;
    if (fs::is_directory(dir, ec)) return true;
    if (fs::exists(dir, ec)) {
        error = "--out-dir: '" + dir + "' is not a folder";
        return false;
    }
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir, ec)) {
        error = "--out-dir: the folder '" + dir + "' could not be created: " + ec.message();
        return false;
    }
    return true;
}

// File arguments first, then the list file's lines, in order.
bool collect_entries(const convert_options& opt, std::vector<cli_entry>& entries,
                     std::string& error) {
    for (const auto& f : opt.files)
        entries.push_back({f, f, true});
    if (!opt.list.empty()) {
        std::vector<std::string> lines;
        std::string reason;
        if (load_batch_list(opt.list, lines, &reason) != 0) {
            error = "--list: '" + opt.list + "' cannot be read: " + reason;
            return false;
        }
        for (auto& line : lines)
            entries.push_back({line, line.empty() ? "(empty line)" : line, false});
    }
    if (entries.empty()) error = "give image files or --list FILE";
    return !entries.empty();
}

// Checks the pipe and single-output rules and turns "-" into a scratch file.
bool prepare_stdio(const convert_options& opt, std::vector<cli_entry>& entries,
                   scratch_folder& scratch, std::string& error) {
    int from_stdin = 0;
    for (const auto& e : entries)
        from_stdin += e.named_by_user && e.path == "-";
    if (from_stdin > 1) {
        error = "standard input (-) can be read only once";
        return false;
    }
    if (!opt.save.output.empty() && entries.size() != 1 && !opt.palettes.animating()) {
        error = "--output takes a single input";
        return false;
    }
    if (!opt.save.output.empty() && !opt.save.out_dir.empty()) {
        error = "--output and --out-dir exclude each other";
        return false;
    }
    if (opt.jobs > 1 && (from_stdin > 0 || opt.save.output == "-")) {
        error = "--jobs: standard input and output (-) work only with --jobs 1";
        return false;
    }
    if (from_stdin == 0) return true;
    if (opt.save.output.empty()) {
        error = "standard input (-) needs --output FILE (or -o - for standard output)";
        return false;
    }
    std::string path = scratch.file("stdin", error);
    if (path.empty() || !read_stdin_to(path, error)) {
        error = "standard input: " + error;
        return false;
    }
    entries[0].path = path;
    return true;
}

// --animate: every input is a frame of one GIF, reduced onto one palette.
int run_animation(const convert_options& opt, const std::vector<cli_entry>& entries) {
    const frame_loader load = [&entries](int i, image_info& img) {
        img = image_info(entries[static_cast<size_t>(i)].path);
        return img.flag != 0;
    };
    const int count = static_cast<int>(entries.size());
    std::vector<uint32_t> palette = fixed_reduction_palette();
    if (palette.empty() && !frames_palette(count, load, settings().target_color, palette))
        return exit_some_failed;
    if (!opt.palettes.write_out(palette) ||
        !write_gif_animation(count, load, palette, opt.palettes.delay_cs, opt.save.output,
                             opt.save.overwrite))
        return exit_some_failed;
    if (!opt.quiet)
        std::printf("%d frames -> %s\n", count, opt.save.output.c_str());
    return exit_ok;
}

int run_convert(convert_options& opt) {
    clgbase& clg = settings();
    std::string error;
    const int op = batch_operation_from_name(opt.op);
    const bool sizing = op == batch_resize || op == batch_scale;
    // The file's options come first so that the options given here override them.
    bool ok = opt.settings_file.empty() || apply_settings_file(opt.settings_file, clg, error);
    if (ok && op < 0) {
        error = "--op: '" + opt.op + "' is not a known operation";
        ok = false;
    }
    ok = ok && (opt.jobs_text.empty() ||
                parse_int_in("--jobs", opt.jobs_text, 1, max_jobs, opt.jobs, error));
    ok = ok && opt.reduce.apply(clg, error) && opt.sizes.apply(clg, sizing, op == 3, error) &&
         opt.save.apply(clg, error);
    std::vector<cli_entry> entries;
    scratch_folder scratch;
    ok = ok && collect_entries(opt, entries, error) && prepare_stdio(opt, entries, scratch, error);
    ok = ok && opt.palettes.apply(op, opt.save, entries.size(), error);
    ok = ok && (opt.save.out_dir.empty() || prepare_out_dir(opt.save.out_dir, error));
    const bool to_stdout = opt.save.output == "-";
    std::string stdout_file;
    if (ok && to_stdout) {
        stdout_file = scratch.file(
            std::string("stdout") + batch_format_extension(opt.save.format_index), error);
        ok = !stdout_file.empty();
    }
    if (!ok) {
        std::fprintf(stderr, "mevra-cli convert: %s\n", error.c_str());
        return exit_usage;
    }

    if (opt.palettes.animating()) return run_animation(opt, entries);

    batch_choices choices;
    choices.operation = op;
    choices.format = opt.save.format_index;
    choices.use_out_folder = !opt.save.out_dir.empty();
    choices.out_folder = opt.save.out_dir;
    choices.confirm_overwrite = true;  // answered by --overwrite
    cli_reporting reporting;
    reporting.progress = opt.progress || ::isatty(STDERR_FILENO);
    reporting.quiet = opt.quiet;
    reporting.time = opt.time && !to_stdout;
    reporting.results_to_stdout = !to_stdout;
    cli_batch_host host(std::move(entries), choices, opt.save.overwrite, reporting);
    if (to_stdout)
        host.set_single_output(stdout_file, "-");
    else if (!opt.save.output.empty())
        host.set_single_output(opt.save.output, opt.save.output);

    // The shared palette is built here, before any worker starts, so that
    // every worker maps onto the same one whatever -j says.
    if (opt.palettes.shared && !opt.palettes.build_shared(host, clg.target_color))
        return exit_some_failed;
    const bool palette_known = !fixed_reduction_palette().empty();
    if (palette_known && !opt.palettes.write_out(fixed_reduction_palette()))
        return exit_some_failed;

    batch_summary summary;
    int failures = 0;
    if (opt.jobs > 1 && host.entry_count() > 1) {
        failures = run_on_workers(host, opt.jobs);
    } else {
        batch_engine engine;
        summary = engine.run(host);
        failures = host.failures();
    }
    if (!palette_known && !opt.palettes.palette_out.empty() &&
        (summary.saved != 1 || !opt.palettes.write_out(host.result_palette())))
        ++failures;
    if (to_stdout && summary.saved == 1 && !copy_file_to_stdout(stdout_file, error)) {
        std::fprintf(stderr, "mevra-cli convert: %s\n", error.c_str());
        ++failures;
    }
    std::fflush(stdout);
    return failures == 0 ? exit_ok : exit_some_failed;
}

}  // namespace

void add_convert_command(CLI::App& app, command_status& status) {
    auto opt = std::make_shared<convert_options>();
    CLI::App* cmd = app.add_subcommand(
        "convert", "Load images, apply one operation and save them in a chosen format");
    cmd->add_option("--op", opt->op,
                    "Operation by name or 0..16: save, reduce, resize, scale, rotate-right, "
                    "rotate-left, flip, mirror, to-argb, luma-to-alpha, opaque, key-alpha0, mono, "
                    "invert, bleed, key-to-back, key-to-first (default save)");
    cmd->add_option("--list", opt->list,
                    "A list file (one path per line, like the batch dialog's batch.lst); its "
                    "files follow the FILE arguments");
    cmd->add_flag("--time", opt->time, "Print how long the operation took for each file");
    cmd->add_flag("--progress", opt->progress,
                  "A progress line per file on stderr (on by default when stderr is a terminal)");
    cmd->add_flag("--quiet", opt->quiet, "Print only failures");
    cmd->add_option("-j,--jobs", opt->jobs_text,
                    "Convert N files at once in N worker processes (default 1); the output "
                    "files and the printed lines are the same as with 1");
    cmd->add_option("--settings", opt->settings_file,
                    "Start from the options of a settings file (mevra.ini); the options given "
                    "here override them");
    opt->save.add_to(*cmd);
    opt->reduce.add_to(*cmd);
    opt->palettes.add_to(*cmd);
    opt->sizes.add_to(*cmd);
    cmd->add_option("files", opt->files, "Image files; - reads standard input");
    cmd->callback([opt, &status] { status.exit_code = run_convert(*opt); });
}

}  // namespace mevra::cli
