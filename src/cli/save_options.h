#pragma once
// Output options of `convert`: the file format and the encoder settings, and
// which mipmap level of a DDS file is read.
#include <CLI/CLI.hpp>
#include <string>

#include "settings/clgbase.h"

namespace mevra::cli {

struct save_options {
    std::string format, out_dir, output, jpeg_quality, dds, mip_alpha_coverage, dds_level;
    bool overwrite = false, mipmaps = false;
    // An IMGFMT value, set by apply(): --format, else the extension of
    // --output, else PNG.
    int format_index = 2;

    void add_to(CLI::App& cmd);
    bool apply(clgbase& clg, std::string& error);
};

}  // namespace mevra::cli
