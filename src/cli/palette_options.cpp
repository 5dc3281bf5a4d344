#include "cli/palette_options.h"

#include <cstdio>

#include "batch/batch_operation.h"
#include "batch/shared_palette_pass.h"
#include "cli/cli_batch_host.h"
#include "cli/option_values.h"
#include "image/image_types.h"
#include "reduce/palette_mapping.h"

namespace mevra::cli {

bool palette_out_type(const std::string& path, const std::string& format_name,
                      std::optional<palette_file_type>& type, std::string& error) {
    type = format_name.empty() ? palette_type_for_path(path) : palette_type_from_name(format_name);
    if (type) return true;
    error = format_name.empty()
                ? "--palette-out: cannot tell the palette type from the name '" + path +
                      "'; give --palette-format"
                : "--palette-format: '" + format_name + "' is not gpl|jasc|riff|act|hex|png";
    return false;
}

void palette_options::add_to(CLI::App& cmd) {
    const char* group = "Palettes (--op reduce)";
    cmd.add_option("--palette", palette_file,
                   "Reduce onto the colours of a palette file (.gpl, .pal, .act, .hex, .png) "
                   "instead of building a palette")
        ->group(group);
    cmd.add_flag("--shared-palette", shared,
                 "One palette for all inputs from their colours together; every output gets "
                 "the same colour table")
        ->group(group);
    cmd.add_option("--palette-out", palette_out,
                   "Write the palette the reduction used (type by extension: .gpl, .pal, .act, "
                   ".hex, .png)")
        ->group(group);
    cmd.add_option("--palette-format", palette_format,
                   "gpl|jasc|riff|act|hex|png: the type of --palette-out (riff for Microsoft "
                   "RIFF .pal files)")
        ->group(group);
    cmd.add_option("--animate", animate,
                   "Join the inputs into one animated GIF (-o FILE) with this delay in "
                   "milliseconds per frame; needs --shared-palette or --palette")
        ->group(group);
}

bool palette_options::apply(int operation, const save_options& save, size_t inputs,
                            std::string& error) {
    const bool any = !palette_file.empty() || shared || !palette_out.empty() ||
                     !palette_format.empty() || animating();
    if (any && operation != batch_reduce) {
        error = "--palette, --shared-palette, --palette-out and --animate need --op reduce";
        return false;
    }
    if (!palette_file.empty() && shared) {
        error = "--palette and --shared-palette exclude each other";
        return false;
    }
    if (!palette_format.empty() && palette_out.empty()) {
        error = "--palette-format describes --palette-out, which is missing";
        return false;
    }
    if (!palette_out.empty() && !palette_out_type(palette_out, palette_format, out_type, error))
        return false;
    if (!palette_out.empty() && palette_file.empty() && !shared && inputs != 1) {
        error = "--palette-out with several inputs needs --shared-palette or --palette";
        return false;
    }
    if (animating()) {
        int ms = 0;
        if (!parse_int_in("--animate", animate, 0, 655350, ms, error)) return false;
        delay_cs = (ms + 5) / 10;
        if (palette_file.empty() && !shared) {
            error = "--animate needs --shared-palette or --palette";
            return false;
        }
        if (save.output.empty() || save.output == "-" || save.format_index != IMGFMT_GIF) {
            error = "--animate writes one GIF file: give -o FILE.gif (or --format gif)";
            return false;
        }
    }
    if (palette_file.empty()) return true;
    std::vector<uint32_t> colours;
    std::string reason;
    if (!read_palette_file(palette_file, colours, reason)) {
        error = "--palette: '" + palette_file + "' cannot be read: " + reason;
        return false;
    }
    fixed_reduction_palette() = std::move(colours);
    return true;
}

bool palette_options::build_shared(cli_batch_host& host, int target) const {
    std::vector<uint32_t> palette;
    switch (shared_palette_pass(host, target, {}, palette)) {
        case shared_palette_outcome::built:
            fixed_reduction_palette() = std::move(palette);
            return true;
        case shared_palette_outcome::nothing_loaded:
            std::fprintf(stderr, "mevra-cli convert: --shared-palette: no input could be read\n");
            return false;
        default:
            std::fprintf(stderr, "mevra-cli convert: --shared-palette: no palette was built\n");
            return false;
    }
}

bool palette_options::write_out(const std::vector<uint32_t>& colours) const {
    std::string error;
    if (palette_out.empty()) return true;
    if (out_type && write_palette_file(palette_out, *out_type, colours, error)) return true;
    std::fprintf(stderr, "mevra-cli convert: --palette-out: '%s' was not written: %s\n",
                 palette_out.c_str(), error.c_str());
    return false;
}

}  // namespace mevra::cli
