#include "cli/save_options.h"

#include "cli/option_values.h"

namespace mevra::cli {

const char* format_extension(int format) {
    static const char* const ext[] = {".bmp", ".jpg", ".png", ".tif", ".gif", ".tga", ".dds"};
    return format >= 0 && format <= 6 ? ext[format] : "";
}

void save_options::add_to(CLI::App& cmd) {
    const char* group = "Output";
    cmd.add_option("--format", format, "bmp|jpg|png|tif|gif|tga|dds, or 0..6 (default png)")
        ->group(group);
    cmd.add_option("--out-dir", out_dir, "Folder for the results (default: beside each source)")
        ->group(group);
    cmd.add_flag("--overwrite", overwrite, "Replace existing output files")->group(group);
    cmd.add_option("--jpeg-quality", jpeg_quality, "JPEG quality 10..100 (default 80)")
        ->group(group);
    cmd.add_option("--dds", dds, "a8r8g8b8|a4r4g4b4|a1r5g5b5|dxt5|dxt3, or 0..4 (default a8r8g8b8)")
        ->group(group);
}

bool save_options::apply(clgbase& clg, std::string& error) {
    if (!parse_choice("--format", format,
                      {"bmp", "jpg|jpeg", "png", "tif|tiff", "gif", "tga", "dds"}, format_index,
                      error))
        return false;
    if (!jpeg_quality.empty() &&
        !parse_int_in("--jpeg-quality", jpeg_quality, 10, 100, clg.jpeg_compress, error))
        return false;
    if (!dds.empty() &&
        !parse_choice("--dds", dds, {"a8r8g8b8", "a4r4g4b4", "a1r5g5b5", "dxt5", "dxt3"},
                      clg.dds_format, error))
        return false;
    return true;
}

}  // namespace mevra::cli
