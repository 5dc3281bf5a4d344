#include "cli/gif_animation_output.h"

#include <cstdio>
#include <filesystem>

#include "platform/file_io.h"
#include "platform/gif_animation.h"
#include "reduce/palette_mapping.h"
#include "reduce/shared_census.h"

namespace mevra::cli {
namespace {

bool fail(const std::string& what) {
    std::fprintf(stderr, "mevra-cli: %s\n", what.c_str());
    return false;
}

bool load_frame(const frame_loader& load, int index, image_info& img) {
    if (load(index, img) && img.flag != 0 && img.width > 0 && img.height > 0) return true;
    return fail("frame " + std::to_string(index + 1) + " could not be read; nothing written");
}

}  // namespace

bool frames_palette(int count, const frame_loader& load, int target,
                    std::vector<uint32_t>& palette) {
    shared_census census;
    for (int i = 0; i < count; ++i) {
        image_info img;
        if (!load_frame(load, i, img)) return false;
        census.add(img);
    }
    if (census.empty() || !census.build_palette(target, palette))
        return fail("no palette could be built for the frames");
    return true;
}

bool write_gif_animation(int count, const frame_loader& load, const std::vector<uint32_t>& palette,
                         int delay_cs, const std::string& out, bool overwrite) {
    std::error_code ec;
    if (!overwrite && std::filesystem::exists(out, ec))
        return fail(out + " exists and was kept (use --overwrite)");
    if (count < 1) return fail("no frames to animate");
    gif_animation_encoder gif;
    std::string error;
    int width = 0, height = 0;
    for (int i = 0; i < count; ++i) {
        image_info img;
        if (!load_frame(load, i, img)) return false;
        if (i == 0) {
            width = img.width;
            height = img.height;
            if (!gif.start(width, height, palette, delay_cs, error)) return fail(error);
        } else if (img.width != width || img.height != height) {
            return fail("frame " + std::to_string(i + 1) + " is " + std::to_string(img.width) +
                        "x" + std::to_string(img.height) + ", the first " + std::to_string(width) +
                        "x" + std::to_string(height) + "; nothing written");
        }
        if (map_to_palette(img, palette) != 0)
            return fail("frame " + std::to_string(i + 1) + " could not be mapped onto the palette");
        const std::vector<uint8_t> indices(img.index_buff.begin(), img.index_buff.end());
        if (!gif.add_frame(indices, error)) return fail(error);
    }
    std::vector<uint8_t> bytes;
    if (!gif.finish(bytes, error) || !write_file_atomic(out, bytes, error))
        return fail(out + " was not written: " + error);
    return true;
}

}  // namespace mevra::cli
