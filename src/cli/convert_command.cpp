// `mevra-cli convert`: load each file, apply one operation, save in a chosen format.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "batch/batch_operation.h"
#include "cli/commands.h"
#include "cli/reduce_options.h"
#include "cli/save_options.h"
#include "cli/settings_option.h"
#include "cli/size_options.h"
#include "image/image_info.h"
#include "settings/clgbase.h"

namespace mevra::cli {
namespace {

namespace fs = std::filesystem;

struct convert_options {
    std::string op = "save";
    bool time = false;
    std::vector<std::string> files;
    std::string settings_file;
    reduce_options reduce;
    size_options sizes;
    save_options save;
};

// The batch naming rule: output folder (or the source's folder), the source's
// name without its extension, the format's extension.
std::string output_path(const std::string& source, const std::string& out_dir, int format) {
    fs::path src(source);
    fs::path folder = out_dir.empty() ? src.parent_path() : fs::path(out_dir);
    return (folder / src.stem()).string() + format_extension(format);
}

bool convert_one(const std::string& path, int op, const convert_options& opt) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        std::fprintf(stderr, "%s: no such file\n", path.c_str());
        return false;
    }
    image_info img(path);
    if (img.flag == 0) return false;  // the loader has said why

    const auto start = std::chrono::steady_clock::now();
    const int result = run_batch_operation(img, op);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // A refused reduction leaves the picture in full colour: that is no result to save.
    if (result != 0 || (op == 1 && img.flag != 2)) {
        std::fprintf(stderr, "%s: %s was refused; nothing saved\n", path.c_str(),
                     batch_operation_name(op));
        return false;
    }
    if (opt.time)
        std::printf("%s: %s took %.3f s\n", path.c_str(), batch_operation_name(op), seconds);

    const std::string out = output_path(path, opt.save.out_dir, opt.save.format_index);
    if (fs::exists(out, ec) && !opt.save.overwrite) {
        std::fprintf(stderr, "%s: %s exists and was kept (use --overwrite)\n", path.c_str(),
                     out.c_str());
        return false;
    }
    if (img.save_to_file(opt.save.format_index, out) != 0) {
        std::fprintf(stderr, "%s: could not be saved as %s\n", path.c_str(), out.c_str());
        return false;
    }
    std::printf("%s -> %s\n", path.c_str(), out.c_str());
    return true;
}

int run_convert(convert_options& opt) {
    clgbase& clg = settings();
    std::string error;
    const int op = batch_operation_from_name(opt.op);
    const bool sizing = op == 2 || op == 3;
    // The file's options come first so that the options given here override them.
    bool ok = opt.settings_file.empty() || apply_settings_file(opt.settings_file, clg, error);
    if (ok && op < 0) {
        error = "--op: '" + opt.op + "' is not a known operation";
        ok = false;
    }
    ok = ok && opt.reduce.apply(clg, error) && opt.sizes.apply(clg, sizing, op == 3, error) &&
         opt.save.apply(clg, error);
    std::error_code ec;
    if (error.empty() && !opt.save.out_dir.empty() && !fs::is_directory(opt.save.out_dir, ec))
        error = "--out-dir: the folder '" + opt.save.out_dir + "' does not exist";
    if (!ok || !error.empty()) {
        std::fprintf(stderr, "mevra-cli convert: %s\n", error.c_str());
        return exit_usage;
    }
    int failed = 0;
    for (const auto& path : opt.files)
        if (!convert_one(path, op, opt)) ++failed;
    std::fflush(stdout);
    return failed == 0 ? exit_ok : exit_some_failed;
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
    cmd->add_flag("--time", opt->time, "Print how long the operation took for each file");
    cmd->add_option("--settings", opt->settings_file,
                    "Start from the options of a settings file (mevra.ini); the options given "
                    "here override them");
    opt->save.add_to(*cmd);
    opt->reduce.add_to(*cmd);
    opt->sizes.add_to(*cmd);
    cmd->add_option("files", opt->files, "Image files")->required();
    cmd->callback([opt, &status] { status.exit_code = run_convert(*opt); });
}

}  // namespace mevra::cli
