// Writes the load fuzzer's DDS seeds into fuzz/seeds/load_dispatch (run from
// the source folder): one small file per layout the reader takes, plus a
// mipmapped, an edge-block, a cube-map and a volume file, so the fuzzer
// starts from every branch of the header and every block decoder.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/dds_test_files.h"

namespace {

using mevra::test::dds_layout;

// Fixed pseudo-random bytes, so the seeds are the same on every run.
std::vector<uint8_t> noise(size_t count, uint32_t seed) {
    std::vector<uint8_t> out(count);
    for (auto& b : out) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(seed >> 24);
    }
    return out;
}

void write(const std::filesystem::path& dir, const std::string& name, const dds_layout& layout,
           const std::vector<uint8_t>& data) {
    const auto file = mevra::test::dds_file(layout, data);
    std::ofstream(dir / (name + ".dds"), std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
}

}  // namespace

int main() {
    using namespace mevra::test;
    const std::filesystem::path dir = "fuzz/seeds/load_dispatch";
    std::filesystem::create_directories(dir);
    uint32_t seed = 1;

    // Four blocks of each FourCC layout, with its block size.
    const std::pair<const char*, size_t> fourccs[] = {{"DXT1", 8},  {"DXT2", 16}, {"DXT3", 16},
                                                      {"DXT4", 16}, {"DXT5", 16}, {"ATI1", 8},
                                                      {"BC4U", 8},  {"ATI2", 16}, {"BC5U", 16}};
    for (const auto& [code, block] : fourccs)
        write(dir, std::string("dds_") + code, block_layout(code, 8, 8), noise(4 * block, ++seed));

    // BC7: one block per mode (the mode is the lowest set bit of the first byte).
    std::vector<uint8_t> bc7 = noise(8 * 16, ++seed);
    for (int mode = 0; mode < 8; ++mode)
        bc7[static_cast<size_t>(mode) * 16] = static_cast<uint8_t>(1u << mode);
    write(dir, "dds_dx10_bc7", dx10_layout(98, 16, 8), bc7);
    const std::pair<const char*, uint32_t> dxgi[] = {
        {"bc1_srgb", 72}, {"bc2_typeless", 73}, {"bc3", 77}, {"bc4", 80}, {"bc5", 83}};
    for (const auto& [name, format] : dxgi)
        write(dir, std::string("dds_dx10_") + name, dx10_layout(format, 4, 4), noise(16, ++seed));
    for (uint32_t format : {28u, 87u, 88u})
        write(dir, "dds_dx10_rgba_" + std::to_string(format), dx10_layout(format, 3, 2),
              noise(24, ++seed));

    struct masked {
        const char* name;
        dds_layout layout;
    };
    const masked layouts[] = {
        {"a8r8g8b8", masked_layout(0x41, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u, 3, 2)},
        {"x8r8g8b8", masked_layout(0x40, 32, 0xFF0000, 0xFF00, 0xFF, 0, 3, 2)},
        {"r8g8b8", masked_layout(0x40, 24, 0xFF0000, 0xFF00, 0xFF, 0, 3, 2)},
        {"r5g6b5", masked_layout(0x40, 16, 0xF800, 0x7E0, 0x1F, 0, 3, 2)},
        {"a4r4g4b4", masked_layout(0x41, 16, 0xF00, 0xF0, 0xF, 0xF000, 3, 2)},
        {"a1r5g5b5", masked_layout(0x41, 16, 0x7C00, 0x3E0, 0x1F, 0x8000, 3, 2)},
        {"x1r5g5b5", masked_layout(0x40, 16, 0x7C00, 0x3E0, 0x1F, 0, 3, 2)},
        {"l8", masked_layout(0x20000, 8, 0xFF, 0, 0, 0, 3, 2)},
        {"a8l8", masked_layout(0x20001, 16, 0xFF, 0, 0, 0xFF00, 3, 2)},
        {"a8", masked_layout(0x2, 8, 0, 0, 0, 0xFF, 3, 2)},
    };
    for (const auto& m : layouts)
        write(dir, std::string("dds_") + m.name, m.layout, noise(24, ++seed));

    dds_layout mipmapped = block_layout("DXT1", 8, 8);
    mipmapped.mipmaps = 4;
    write(dir, "dds_mipmapped", mipmapped, noise(4 * 8 + 3 * 8, ++seed));
    write(dir, "dds_edge_blocks", block_layout("DXT5", 5, 3), noise(32, ++seed));
    dds_layout cube = dx10_layout(98, 4, 4);
    cube.misc = 4;
    cube.array_size = 6;
    write(dir, "dds_cube", cube, noise(6 * 16, ++seed));
    dds_layout volume = block_layout("DXT1", 4, 4);
    volume.depth = 2;
    volume.caps2 = 0x200000;
    write(dir, "dds_volume", volume, noise(16, ++seed));
    return 0;
}
