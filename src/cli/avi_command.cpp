// `mevra-cli avi`: what the AVI player does, headless. `info` describes the
// video stream, `frames` writes frames as numbered image files, `encode`
// re-saves the stream with another encoder, `codecs` lists the encoders.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/json_text.h"
#include "cli/gif_animation_output.h"
#include "cli/option_values.h"
#include "cli/palette_options.h"
#include "cli/reduce_options.h"
#include "cli/settings_option.h"
#include "formats/palette_file.h"
#include "image/image_info.h"
#include "settings/clgbase.h"
#include "video/avi_reader.h"
#include "video/avi_reencode.h"
#include "video/frame_bitmap.h"
#include "video/frame_file_name.h"
#include "video/frame_to_argb.h"

namespace mevra::cli {
namespace {

namespace fs = std::filesystem;

struct avi_options {
    std::string file, out, out_dir, joiner, digits, format, codec, settings_file;
    bool json = false, overwrite = false, list_codecs = false;
    int from = 0, to = -1, step = 1, keyint = 0, bitrate = 0, quality = 75;
    reduce_options reduce;
    std::string palette_file, palette_out, palette_format;
};

bool open_source(avi_reader& avi, const std::string& path) {
    avi_failure f;
    if (avi.open(path, f) == 0) return true;
    report_avi_failure(f);
    return false;
}

int run_info(const avi_options& opt) {
    avi_reader avi;
    if (!open_source(avi, opt.file)) return exit_some_failed;
    const avi_stream_info& info = avi.info();
    int width = info.width, height = info.height, bits = 0;
    std::vector<uint8_t> dib;
    avi_failure f;
    if (info.length > 0 && avi.decode_frame(0, dib, f) == 0) {
        dib_header h;
        read_dib_header(dib, h);
        width = h.width;
        height = h.height < 0 ? -h.height : h.height;
        bits = h.bit_count;
    } else if (info.length > 0) {
        report_avi_failure(f);
    }
    const double fps = info.scale ? static_cast<double>(info.rate) / info.scale : 0.0;
    if (opt.json) {
        std::printf(
            "{\"frames\": %d, \"rate\": %u, \"scale\": %u, \"fps\": %.6g, \"width\": %d, "
            "\"height\": %d, \"bits\": %d, \"codec\": %s}\n",
            info.length, info.rate, info.scale, fps, width, height, bits,
            json_string(info.codec).c_str());
    } else {
        std::printf("%s: %d frames, rate %u / scale %u (%.3f fps), %dx%d, %d bit, %s\n",
                    opt.file.c_str(), info.length, info.rate, info.scale, fps, width, height, bits,
                    info.codec.c_str());
    }
    std::fflush(stdout);
    return exit_ok;
}

int usage(const char* command, const std::string& error) {
    std::fprintf(stderr, "mevra-cli avi %s: %s\n", command, error.c_str());
    return exit_usage;
}

int run_frames(const avi_options& opt) {
    clgbase& clg = settings();
    std::string error;
    if (!opt.settings_file.empty() && !apply_settings_file(opt.settings_file, clg, error))
        return usage("frames", error);
    int joiner = clg.aviren_option1, digits = clg.aviren_option2, type = clg.aviren_option3;
    if (!opt.joiner.empty() &&
        !parse_choice("--joiner", opt.joiner, {"none", "underscore|_", "hyphen|-"}, joiner, error))
        return usage("frames", error);
    if (!opt.digits.empty()) {
        if (!parse_int_in("--digits", opt.digits, 4, 8, digits, error))
            return usage("frames", error);
        digits -= 4;
    }
    if (!opt.format.empty() &&
        !parse_choice("--format", opt.format,
                      {"bmp", "jpg|jpeg", "png", "tif|tiff", "gif", "tga", "dds"}, type, error))
        return usage("frames", error);
    std::error_code ec;
    if (!opt.out_dir.empty() && !fs::is_directory(opt.out_dir, ec))
        return usage("frames", "--out-dir: the folder '" + opt.out_dir + "' does not exist");

    avi_reader avi;
    if (!open_source(avi, opt.file)) return exit_some_failed;
    const int last = avi.info().length - 1;
    const int to = opt.to < 0 ? last : opt.to;
    if (opt.from < 0 || opt.from > to || to > last)
        return usage("frames", "--from/--to: the stream has frames 0 to " + std::to_string(last));

    const fs::path src(opt.file);
    const fs::path folder = opt.out_dir.empty() ? src.parent_path() : fs::path(opt.out_dir);
    int failed = 0;
    std::vector<uint8_t> dib;
    for (int n = opt.from; n <= to; ++n) {
        const std::string out =
            (folder / aviren_file_name(src.stem().string(), joiner, digits, type, n)).string();
        avi_failure f;
        image_info img;
        if (fs::exists(out, ec) && !opt.overwrite) {
            std::fprintf(stderr, "%s exists and was kept (use --overwrite)\n", out.c_str());
            ++failed;
        } else if (avi.decode_frame(n, dib, f) != 0 || frame_to_argb(dib, img) != 0) {
            report_avi_failure(f);
            ++failed;
        } else if (img.save_to_file(type, out) != 0) {
            ++failed;  // the save has said why
        } else {
            std::printf("%s\n", out.c_str());
        }
    }
    std::fflush(stdout);
    return failed == 0 ? exit_ok : exit_some_failed;
}

// The delay of every `step`-th frame in 1/100 s, rounded, at least 1.
int gif_delay_cs(const avi_stream_info& info, int step) {
    if (info.rate == 0 || info.scale == 0) return 10;
    const uint64_t numerator = uint64_t{200} * info.scale * static_cast<uint64_t>(step);
    const uint64_t cs = (numerator + info.rate) / (uint64_t{2} * info.rate);
    return static_cast<int>(std::clamp<uint64_t>(cs, 1, 0xFFFF));
}

int run_gif(const avi_options& opt) {
    clgbase& clg = settings();
    std::string error;
    std::optional<palette_file_type> out_type;
    if (!opt.settings_file.empty() && !apply_settings_file(opt.settings_file, clg, error))
        return usage("gif", error);
    if (!opt.reduce.apply(clg, error)) return usage("gif", error);
    if (opt.out.empty()) return usage("gif", "-o FILE is required");
    if (opt.step < 1) return usage("gif", "--step must be 1 or more");
    if (!opt.palette_out.empty() &&
        !palette_out_type(opt.palette_out, opt.palette_format, out_type, error))
        return usage("gif", error);
    std::vector<uint32_t> palette;
    if (!opt.palette_file.empty() && !read_palette_file(opt.palette_file, palette, error))
        return usage("gif", "--palette: '" + opt.palette_file + "' cannot be read: " + error);

    avi_reader avi;
    if (!open_source(avi, opt.file)) return exit_some_failed;
    const int last = avi.info().length - 1;
    const int to = opt.to < 0 ? last : opt.to;
    if (opt.from < 0 || opt.from > to || to > last)
        return usage("gif", "--from/--to: the stream has frames 0 to " + std::to_string(last));
    const int count = (to - opt.from) / opt.step + 1;
    std::vector<uint8_t> dib;
    const frame_loader load = [&](int i, image_info& img) {
        avi_failure f;
        if (avi.decode_frame(opt.from + i * opt.step, dib, f) == 0 && frame_to_argb(dib, img) == 0)
            return true;
        report_avi_failure(f);
        return false;
    };
    // The frames are decoded twice (census, then mapping) rather than held:
    // a long stream of large frames would not fit in memory.
    if (palette.empty() && !frames_palette(count, load, clg.target_color, palette))
        return exit_some_failed;
    if (!opt.palette_out.empty() &&
        !write_palette_file(opt.palette_out, *out_type, palette, error)) {
        std::fprintf(stderr, "mevra-cli avi gif: --palette-out: %s\n", error.c_str());
        return exit_some_failed;
    }
    if (!write_gif_animation(count, load, palette, gif_delay_cs(avi.info(), opt.step), opt.out,
                             opt.overwrite))
        return exit_some_failed;
    std::printf("%s -> %s: %d frames\n", opt.file.c_str(), opt.out.c_str(), count);
    std::fflush(stdout);
    return exit_ok;
}

void print_codecs() {
    for (const auto& e : available_avi_encoders())
        std::printf("%-10s %s%s%s%s\n", e.name.c_str(), e.label.c_str(),
                    e.has_keyint ? ", --keyint" : "", e.has_bitrate ? ", --bitrate" : "",
                    e.has_quality ? ", --quality" : "");
    std::fflush(stdout);
}

int run_encode(const avi_options& opt) {
    if (opt.list_codecs) {
        print_codecs();
        return exit_ok;
    }
    if (opt.file.empty() || opt.out.empty()) return usage("encode", "IN and OUT are required");
    if (opt.codec.empty() || !find_avi_encoder(opt.codec))
        return usage("encode",
                     "--codec: '" + opt.codec + "' is not available (see mevra-cli avi codecs)");
    if (opt.keyint < 0 || opt.bitrate < 0 || opt.quality < 0 || opt.quality > 100)
        return usage("encode", "--keyint and --bitrate must be 0 or more, --quality 0..100");
    avi_reader avi;
    if (!open_source(avi, opt.file)) return exit_some_failed;
    avi_encode_options enc;
    enc.encoder = opt.codec;
    enc.keyint = opt.keyint;
    enc.bitrate_kbps = opt.bitrate;
    enc.quality = opt.quality;
    const auto start = std::chrono::steady_clock::now();
    avi_failure f;
    if (reencode_avi(avi, opt.out, enc, nullptr, f) != avi_save_done) {
        report_avi_failure(f);
        return exit_some_failed;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s -> %s: %d frames, %.1f frames per second\n", opt.file.c_str(), opt.out.c_str(),
                avi.info().length, seconds > 0 ? avi.info().length / seconds : 0.0);
    std::fflush(stdout);
    return exit_ok;
}

}  // namespace

void add_avi_command(CLI::App& app, command_status& status) {
    auto opt = std::make_shared<avi_options>();
    CLI::App* avi = app.add_subcommand(
        "avi", "Describe AVI files, write their frames as images, re-encode them");
    avi->require_subcommand(1);

    CLI::App* info = avi->add_subcommand("info", "Frames, rate, size, bit count and codec");
    info->add_flag("--json", opt->json, "One JSON object");
    info->add_option("file", opt->file, "AVI file")->required();
    info->callback([opt, &status] { status.exit_code = run_info(*opt); });

    CLI::App* frames = avi->add_subcommand("frames", "Write frames as numbered image files");
    frames->add_option("file", opt->file, "AVI file")->required();
    frames->add_option("--from", opt->from, "First frame (default 0)");
    frames->add_option("--to", opt->to, "Last frame (default the last one)");
    frames->add_option("--out-dir", opt->out_dir, "Folder for the images (default the AVI's)");
    frames->add_option("--joiner", opt->joiner, "none|underscore|hyphen between name and number");
    frames->add_option("--digits", opt->digits, "Digits of the number, 4..8");
    frames->add_option("--format", opt->format, "bmp|jpg|png|tif|gif|tga|dds");
    frames->add_flag("--overwrite", opt->overwrite, "Replace existing images");
    frames->add_option("--settings", opt->settings_file,
                       "Take the frame-file naming, JPEG quality and DDS layout from a settings "
                       "file (mevra.ini); the options given here override them");
    frames->callback([opt, &status] { status.exit_code = run_frames(*opt); });

    CLI::App* gif = avi->add_subcommand(
        "gif", "Write frames as one animated GIF with one palette, looping for ever");
    gif->add_option("file", opt->file, "AVI file")->required();
    gif->add_option("-o,--output", opt->out, "The GIF file")->required();
    gif->add_option("--from", opt->from, "First frame (default 0)");
    gif->add_option("--to", opt->to, "Last frame (default the last one)");
    gif->add_option("--step", opt->step, "Every Kth frame (default 1); the delay grows with it");
    gif->add_option("--palette", opt->palette_file,
                    "Map onto the colours of a palette file instead of building a palette");
    gif->add_option("--palette-out", opt->palette_out, "Write the palette used");
    gif->add_option("--palette-format", opt->palette_format,
                    "gpl|jasc|riff|act|hex|png: the type of --palette-out");
    gif->add_flag("--overwrite", opt->overwrite, "Replace an existing GIF");
    gif->add_option("--settings", opt->settings_file,
                    "Take the reduction options from a settings file (mevra.ini); the options "
                    "given here override them");
    opt->reduce.add_to(*gif);
    gif->callback([opt, &status] { status.exit_code = run_gif(*opt); });

    CLI::App* encode = avi->add_subcommand("encode", "Re-save the video stream with an encoder");
    encode->add_option("in", opt->file, "Source AVI");
    encode->add_option("out", opt->out, "New AVI");
    encode->add_option("--codec", opt->codec, "Encoder name (see --list-codecs)");
    encode->add_option("--keyint", opt->keyint, "A key frame every N frames (0: encoder default)");
    encode->add_option("--bitrate", opt->bitrate, "Data rate in kbit/s (0: use --quality)");
    encode->add_option("--quality", opt->quality, "Quality 0..100 (default 75)");
    encode->add_flag("--list-codecs", opt->list_codecs, "List the available encoders");
    encode->callback([opt, &status] { status.exit_code = run_encode(*opt); });

    CLI::App* codecs = avi->add_subcommand("codecs", "List the available encoders");
    codecs->callback([&status] {
        print_codecs();
        status.exit_code = exit_ok;
    });
}

}  // namespace mevra::cli
