#pragma once
// `--settings FILE`: start from the options of a mevra.ini file, so a run from
// a script reduces and saves exactly as the desktop application set up.
#include <string>

#include "settings/clgbase.h"

namespace mevra::cli {

// Reads the options of the settings file at `path` into `clg` (window
// placements are of no use here). False with a message when there is no such
// file or it cannot be read.
bool apply_settings_file(const std::string& path, clgbase& clg, std::string& error);

}  // namespace mevra::cli
