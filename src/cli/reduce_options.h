#pragma once
// Colour-reduction options of `convert`, written into the settings the
// reduction reads (the same fields the reduction options dialog writes).
#include <CLI/CLI.hpp>
#include <string>

#include "settings/clgbase.h"

namespace mevra::cli {

struct reduce_options {
    std::string colors, priority, dither, level, refine, key_color;
    bool protect_key = false, key_alpha0 = false, key_palette0 = false;

    void add_to(CLI::App& cmd);
    bool apply(clgbase& clg, std::string& error) const;
};

}  // namespace mevra::cli
