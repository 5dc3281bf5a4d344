#pragma once
// Palette options of `convert --op reduce`: reduce onto a palette file, build
// one palette for all inputs, write the palette used, or join the inputs into
// one animated GIF.
#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/save_options.h"
#include "formats/palette_file.h"

namespace mevra::cli {

class cli_batch_host;

struct palette_options {
    std::string palette_file, palette_out, palette_format, animate;
    bool shared = false;
    // Set by apply():
    std::optional<palette_file_type> out_type;
    int delay_cs = 0;

    void add_to(CLI::App& cmd);
    bool animating() const { return !animate.empty(); }
    // Checks the combinations with the operation, the output and the number of
    // inputs, and reads --palette into the reduction's fixed palette.
    bool apply(int operation, const save_options& save, size_t inputs, std::string& error);
    // --shared-palette: the census pass over the host's files, then the
    // palette fixed for every file. False when no palette could be built
    // (the reason has been printed).
    bool build_shared(cli_batch_host& host, int target) const;
    // --palette-out: writes `colours`; false with the reason printed.
    bool write_out(const std::vector<uint32_t>& colours) const;
};

// The --palette-out type: --palette-format, else the file's extension.
bool palette_out_type(const std::string& path, const std::string& format_name,
                      std::optional<palette_file_type>& type, std::string& error);

}  // namespace mevra::cli
