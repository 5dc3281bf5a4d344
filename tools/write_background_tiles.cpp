// Writes the renderer's five background tiles as 64 x 64 PNG files
// tile0.png ... tile4.png, the pictures the environment dialog shows.
// Usage: write_background_tiles [folder]   (default: src/gui/resources/tiles)
#include <cstdio>
#include <string>

#include "image/image_info.h"
#include "render/canvas_renderer.h"

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "src/gui/resources/tiles";
    for (int i = 0; i < mevra::background_tile_count; ++i) {
        const mevra::image_info tile(mevra::background_tile_side, mevra::background_tile_side,
                                     mevra::background_tile(i));
        const std::string path = folder + "/tile" + std::to_string(i) + ".png";
        std::string error;
        if (tile.file_save_png(path, error) != 0) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
