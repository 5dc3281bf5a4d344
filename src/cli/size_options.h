#pragma once
// Size options of `convert` for the resize (canvas) and scale operations.
// They fill the same settings fields the trim/resize dialog writes, so the
// core's trim calculation gives the command line and the dialog one answer.
#include <CLI/CLI.hpp>
#include <string>

#include "settings/clgbase.h"

namespace mevra::cli {

struct size_options {
    std::string size, place, margins, multiple, pow2, pow2_percent, back_color;
    bool fit = false, cover = false, keep_palette = false;

    void add_to(CLI::App& cmd);
    // `scaling` is true for the scale operation, false for resize; `sizing` is
    // false for operations that take no size at all.
    bool apply(clgbase& clg, bool sizing, bool scaling, std::string& error) const;
};

}  // namespace mevra::cli
