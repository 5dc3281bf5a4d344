#include "cli/save_options.h"

#include <cctype>
#include <filesystem>
#include <initializer_list>

#include "cli/option_values.h"
#include "image/image_types.h"

namespace mevra::cli {

namespace {

constexpr std::initializer_list<const char*> format_names = {"bmp", "jpg|jpeg", "png", "tif|tiff",
                                                             "gif", "tga",      "dds"};

// The format an output file's name asks for, by its extension.
bool format_from_output(const std::string& output, int& index, std::string& error) {
    std::string ext = std::filesystem::path(output).extension().string();
    std::string ignored;
    if (ext.size() > 1 && parse_choice("--output", ext.substr(1), format_names, index, ignored) &&
        !std::isdigit(static_cast<unsigned char>(ext[1])))
        return true;
    error = "--output: cannot tell the format from the name '" + output + "'; give --format";
    return false;
}

}  // namespace

void save_options::add_to(CLI::App& cmd) {
    const char* group = "Output";
    cmd.add_option("--format", format,
                   "bmp|jpg|png|tif|gif|tga|dds, or 0..6 (default: the extension of --output, "
                   "else png)")
        ->group(group);
    cmd.add_option("--out-dir", out_dir,
                   "Folder for the results, created when missing (default: beside each source)")
        ->group(group);
    cmd.add_option("-o,--output", output,
                   "Output file for a single input; - writes standard output")
        ->group(group);
    cmd.add_flag("--overwrite", overwrite, "Replace existing output files")->group(group);
    cmd.add_option("--jpeg-quality", jpeg_quality, "JPEG quality 10..100 (default 80)")
        ->group(group);
    cmd.add_option("--dds", dds, "a8r8g8b8|a4r4g4b4|a1r5g5b5|dxt5|dxt3|dxt1|bc7|bc4|bc5, or 0..8 (default a8r8g8b8)")
        ->group(group);
    cmd.add_flag("--mipmaps", mipmaps,
                 "DDS: write the whole mipmap chain down to 1x1, filtered in linear light")
        ->group(group);
    cmd.add_option("--mip-alpha-coverage", mip_alpha_coverage,
                   "DDS mipmaps: keep the share of pixels with alpha >= REF (0..255) in every "
                   "level as in the top level, for alpha-tested cut-outs")
        ->option_text("REF")
        ->group(group);
    cmd.add_option("--dds-level", dds_level,
                   "Read DDS inputs at this mipmap level (0, the default, is the top level)")
        ->option_text("N")
        ->group("Input");
}

bool save_options::apply(clgbase& clg, std::string& error) {
    if (format.empty()) {
        format_index = IMGFMT_PNG;
        if (!output.empty() && output != "-" && !format_from_output(output, format_index, error))
            return false;
    } else if (!parse_choice("--format", format, format_names, format_index, error)) {
        return false;
    }
    if (!jpeg_quality.empty() &&
        !parse_int_in("--jpeg-quality", jpeg_quality, 10, 100, clg.jpeg_compress, error))
        return false;
    if (!dds.empty() &&
        !parse_choice("--dds", dds, {"a8r8g8b8", "a4r4g4b4", "a1r5g5b5", "dxt5", "dxt3", "dxt1|bc1", "bc7", "bc4",
                                      "bc5"},
                      clg.dds_format, error))
        return false;
    if (mipmaps) clg.dds_mipmaps = 1;
    if (!mip_alpha_coverage.empty()) {
        if (!parse_int_in("--mip-alpha-coverage", mip_alpha_coverage, 0, 255,
                          clg.dds_mip_alpha_reference, error))
            return false;
        clg.dds_mipmaps = 1;  // the reference means nothing without the chain
    }
    if (!dds_level.empty() && !parse_int_in("--dds-level", dds_level, 0, 31, clg.dds_read_level, error))
        return false;
    return true;
}

}  // namespace mevra::cli
