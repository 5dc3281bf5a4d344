#pragma once
// Output options of `convert`: the file format and the encoder settings.
#include <CLI/CLI.hpp>
#include <string>

#include "settings/clgbase.h"

namespace mevra::cli {

struct save_options {
    std::string format = "png", out_dir, jpeg_quality, dds;
    bool overwrite = false;
    int format_index = 2;  // an IMGFMT value, set by apply()

    void add_to(CLI::App& cmd);
    bool apply(clgbase& clg, std::string& error);
};

// The file extension of an IMGFMT value 0..6 (".bmp" … ".dds").
const char* format_extension(int format);

}  // namespace mevra::cli
