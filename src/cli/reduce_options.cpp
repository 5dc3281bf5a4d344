#include "cli/reduce_options.h"

#include "cli/option_values.h"

namespace mevra::cli {

void reduce_options::add_to(CLI::App& cmd) {
    const char* group = "Colour reduction (--op reduce)";
    cmd.add_option("--colors", colors, "Colours after reduction, 2..256 (default 256)")
        ->group(group);
    cmd.add_option("--priority", priority,
                   "strong|medium|weak|colour background emphasis, or 0..3 (default medium)")
        ->group(group);
    cmd.add_option("--dither", dither,
                   "none|diffusion-a|diffusion-b|pattern, or 0..3 (default pattern)")
        ->group(group);
    cmd.add_option("--level", level, "Dither strength 1..10 (default 5)")->group(group);
    cmd.add_option("--refine", refine,
                   "Refinement passes over the palette, 0..16 (default 0, off; for "
                   "photographs 16 with --priority strong is recommended)")
        ->group(group);
    cmd.add_flag("--protect-key", protect_key, "Keep the key colours out of the reduction")
        ->group(group);
    cmd.add_option("--key-color", key_color, "Key colour AARRGGBB (turns the colour key on)")
        ->group(group);
    cmd.add_flag("--key-alpha0", key_alpha0, "Pixels with alpha 0 are key colours")->group(group);
    cmd.add_flag("--key-palette0", key_palette0,
                 "Palette entry 0 of indexed images is a key colour")
        ->group(group);
}

bool reduce_options::apply(clgbase& clg, std::string& error) const {
    if (!colors.empty() && !parse_int_in("--colors", colors, 2, 256, clg.target_color, error))
        return false;
    if (!priority.empty() &&
        !parse_choice("--priority", priority, {"strong", "medium", "weak", "colour|color"},
                      clg.conv_mode, error))
        return false;
    if (!dither.empty() &&
        !parse_choice("--dither", dither, {"none", "diffusion-a", "diffusion-b", "pattern"},
                      clg.dither_type, error))
        return false;
    if (!level.empty() && !parse_int_in("--level", level, 1, 10, clg.dither_level, error))
        return false;
    if (!refine.empty() && !parse_int_in("--refine", refine, 0, 16, clg.refine_passes, error))
        return false;
    if (!key_color.empty()) {
        if (!parse_argb("--key-color", key_color, clg.nuki_color, error)) return false;
        clg.nuki_flg_color = 1;
    }
    if (protect_key) clg.transparency_mode = 1;
    if (key_alpha0) clg.nuki_flg_alpha0 = 1;
    if (key_palette0) clg.nuki_flg_palette0 = 1;
    return true;
}

}  // namespace mevra::cli
