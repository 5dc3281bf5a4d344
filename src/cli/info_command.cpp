// `mevra-cli info`: one line per file with its format, size, pixel type and colours.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/json_text.h"
#include "formats/dds_surface.h"
#include "image/image_info.h"
#include "platform/file_io.h"

namespace mevra::cli {
namespace {

struct info_options {
    bool json = false;
    std::vector<std::string> files;
};

const char* short_format_name(int format) {
    switch (format) {
        case IMGFMT_BMP:
            return "BMP";
        case IMGFMT_JPG:
            return "JPEG";
        case IMGFMT_PNG:
            return "PNG";
        case IMGFMT_TIF:
            return "TIFF";
        case IMGFMT_GIF:
            return "GIF";
        case IMGFMT_TGA:
            return "TGA";
        case IMGFMT_DDS:
            return "DDS";
        case IMGFMT_CLIPBOARD:
            return "clipboard";
        default:
            return "unknown";
    }
}

const char* short_type_name(int type) {
    switch (type) {
        case IMGTYP_RGB:
            return "ARGB";
        case IMGTYP_256:
            return "256-colour";
        case IMGTYP_16:
            return "16-colour";
        default:
            return "none";
    }
}

// For a DDS file, the stored layout, the mipmap count and the size of every
// level as extra JSON members.
std::string dds_members(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::string error;
    dds::surface_info dds;
    if (!read_whole_file(path, bytes, error) || dds::describe_dds(bytes, dds) != 0) return {};
    std::string levels;
    for (int k = 0; k < dds.mipmaps; ++k)
        levels += std::string(k ? ", " : "") + "{\"width\": " +
                  std::to_string(dds::mip_side(dds.width, k)) + ", \"height\": " +
                  std::to_string(dds::mip_side(dds.height, k)) + "}";
    return ", \"dds_format\": " + json_string(dds.name) +
           ", \"mipmaps\": " + std::to_string(dds.mipmaps) + ", \"levels\": [" + levels + "]";
}

int run_info(const info_options& opt) {
    int failed = 0;
    for (const auto& path : opt.files) {
        image_info img(path);
        if (img.flag == 0) {
            ++failed;
            continue;
        }
        const int colours = img.count_distinct_colors();
        if (opt.json) {
            std::printf(
                "{\"path\": %s, \"format\": \"%s\", \"width\": %d, \"height\": %d, "
                "\"image_type\": \"%s\", \"color_num\": %d, \"colors\": %d%s}\n",
                json_string(path).c_str(), imgfmt_name(img.format), img.width, img.height,
                imgtyp_name(img.image_type), img.color_num, colours,
                img.format == IMGFMT_DDS ? dds_members(path).c_str() : "");
        } else {
            std::printf("%s: %s %dx%d %s color_num=%d colors=%d\n", path.c_str(),
                        short_format_name(img.format), img.width, img.height,
                        short_type_name(img.image_type), img.color_num, colours);
        }
    }
    std::fflush(stdout);
    return failed == 0 ? exit_ok : exit_some_failed;
}

}  // namespace

void add_info_command(CLI::App& app, command_status& status) {
    auto opt = std::make_shared<info_options>();
    CLI::App* cmd =
        app.add_subcommand("info", "Show format, size, pixel type and colours of images");
    cmd->add_flag("--json", opt->json, "One JSON object per line");
    cmd->add_option("files", opt->files, "Image files")->required();
    cmd->callback([opt, &status] { status.exit_code = run_info(*opt); });
}

}  // namespace mevra::cli
