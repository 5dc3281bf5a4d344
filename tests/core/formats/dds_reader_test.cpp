// The own DDS reader: every masked layout, block files with mipmaps, DX10
// headers and edge blocks, damaged files, and files from today's writer.
#include <gtest/gtest.h>

#include <cstdlib>

#include "codec_test_files.h"
#include "dds_test_decoder.h"
#include "formats/dds_surface.h"
#include "settings/clgbase.h"
#include "support/dds_test_files.h"

namespace mevra {
namespace {

using namespace test;

// Loads through the reader; expects it to take the file.
image_info load_dds(const bytes& file) {
    image_info img;
    byte_reader in(file);
    EXPECT_EQ(img.file_load_dds(in), 0);
    EXPECT_EQ(img.format, IMGFMT_DDS);
    EXPECT_EQ(img.image_type, IMGTYP_RGB);
    return img;
}

bytes le_pixels(std::initializer_list<uint32_t> values, int bytes_each) {
    bytes out;
    for (uint32_t v : values)
        put_le(out, v, bytes_each);
    return out;
}

TEST(DdsReader, EveryMaskedLayout) {
    struct sample {
        dds_layout layout;
        int bytes_each;
        uint32_t stored, expected;
        const char* name;
    };
    const sample samples[] = {
        {masked_layout(0x41, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u), 4, 0x44332211, 0x44332211,
         "A8R8G8B8"},
        {masked_layout(0x40, 32, 0xFF0000, 0xFF00, 0xFF, 0), 4, 0x44332211, 0xFF332211, "X8R8G8B8"},
        {masked_layout(0x41, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000u), 4, 0x44332211, 0x44112233,
         "A8B8G8R8"},
        {masked_layout(0x40, 24, 0xFF0000, 0xFF00, 0xFF, 0), 3, 0x332211, 0xFF332211, "R8G8B8"},
        {masked_layout(0x40, 16, 0xF800, 0x7E0, 0x1F, 0), 2, 0x8410, 0xFF848284, "R5G6B5"},
        {masked_layout(0x41, 16, 0xF00, 0xF0, 0xF, 0xF000), 2, 0x1234, 0x11223344, "A4R4G4B4"},
        {masked_layout(0x41, 16, 0x7C00, 0x3E0, 0x1F, 0x8000), 2, 0xC101, 0xFF844208, "A1R5G5B5"},
        {masked_layout(0x40, 16, 0x7C00, 0x3E0, 0x1F, 0), 2, 0x4101, 0xFF844208, "X1R5G5B5"},
        {masked_layout(0x20000, 8, 0xFF, 0, 0, 0), 1, 0x80, 0xFF808080, "L8"},
        {masked_layout(0x20001, 16, 0xFF, 0, 0, 0xFF00), 2, 0x40C0, 0x40C0C0C0, "A8L8"},
        {masked_layout(0x2, 8, 0, 0, 0, 0xFF), 1, 0x7F, 0x7F000000, "A8"},
    };
    for (const auto& s : samples) {
        dds_layout l = s.layout;
        l.width = 3, l.height = 1;  // odd row length: no row padding
        const bytes file = dds_file(l, le_pixels({0, s.stored, 0}, s.bytes_each));
        const image_info img = load_dds(file);
        ASSERT_EQ(img.argb_buff.size(), 3u) << s.name;
        EXPECT_EQ(img.argb_buff[1], s.expected) << s.name;
        dds::surface_info info;
        ASSERT_EQ(dds::describe_dds(file, info), 0) << s.name;
        EXPECT_EQ(info.name, s.name);
    }
}

// A BC1 block whose 16 pixels are colour c0 (index 0) except pixel 15 (index 1).
bytes bc1_block(uint16_t c0, uint16_t c1) {
    bytes b;
    put_le(b, c0, 2);
    put_le(b, c1, 2);
    put_le(b, 0x40000000u, 4);
    return b;
}

TEST(DdsReader, MipmappedBlockFileOpensItsFirstLevel) {
    // 8x8 DXT1 with 4 levels: 4 blocks, then 1, 1, 1.
    bytes data;
    for (int i = 0; i < 4; ++i) {
        const bytes b = bc1_block(static_cast<uint16_t>(0xF800 >> (5 * (i % 2))), 0x001F);
        data.insert(data.end(), b.begin(), b.end());
    }
    for (int i = 0; i < 3; ++i) {
        const bytes b = bc1_block(0xFFFF, 0);
        data.insert(data.end(), b.begin(), b.end());
    }
    dds_layout l = block_layout("DXT1", 8, 8);
    l.mipmaps = 4;
    const bytes file = dds_file(l, data);
    const image_info img = load_dds(file);
    ASSERT_EQ(img.width, 8);
    EXPECT_EQ(img.argb_buff[0], 0xFFFF0000u);
    EXPECT_EQ(img.argb_buff[4], 0xFF00FB00u);  // block 1: 0x07C0, green 62 -> 251
    EXPECT_EQ(img.argb_buff[32], 0xFFFF0000u);
    EXPECT_EQ(img.argb_buff[63], 0xFF0000FFu);
    dds::surface_info info;
    ASSERT_EQ(dds::describe_dds(file, info), 0);
    EXPECT_EQ(info.name, "DXT1");
    EXPECT_EQ(info.mipmaps, 4);
}

TEST(DdsReader, EdgeBlocksOfSizesNotMultipleOf4) {
    // 5x3 ATI1: two blocks; the second is grey 200 and shows only its first column.
    bytes data = {10, 10, 0, 0, 0, 0, 0, 0, 200, 200, 0, 0, 0, 0, 0, 0};
    const image_info img = load_dds(dds_file(block_layout("ATI1", 5, 3), data));
    ASSERT_EQ(img.argb_buff.size(), 15u);
    EXPECT_EQ(img.argb_buff[3], 0xFF0A0A0Au);
    EXPECT_EQ(img.argb_buff[4], 0xFFC8C8C8u);
    EXPECT_EQ(img.argb_buff[14], 0xFFC8C8C8u);
}

TEST(DdsReader, Dx10Layouts) {
    // BC7 mode 6 with every endpoint field at 0 and P-bits 1: all pixels 1,1,1,1.
    bytes bc7(16, 0);
    bc7[0] = 0x40;
    bc7[7] = 0x80;  // endpoint P-bit 0 (bit 63)
    bc7[8] = 0x01;  // endpoint P-bit 1 (bit 64)
    const image_info a = load_dds(dds_file(dx10_layout(98), bc7));
    EXPECT_EQ(a.argb_buff[7], 0x01010101u);

    const image_info b = load_dds(dds_file(dx10_layout(28, 1, 1), {0x11, 0x22, 0x33, 0x44}));
    EXPECT_EQ(b.argb_buff[0], 0x44112233u);
    const image_info c = load_dds(dds_file(dx10_layout(88, 1, 1), {0x11, 0x22, 0x33, 0x00}));
    EXPECT_EQ(c.argb_buff[0], 0xFF332211u);
    const image_info d = load_dds(dds_file(dx10_layout(72), bc1_block(0xF800, 0x001F)));
    EXPECT_EQ(d.argb_buff[15], 0xFF0000FFu);

    dds::surface_info info;
    ASSERT_EQ(dds::describe_dds(dds_file(dx10_layout(99), bc7), info), 0);
    EXPECT_EQ(info.name, "BC7_UNORM_SRGB");
    // A cube map and an array open their first face or slice.
    dds_layout cube = dx10_layout(98);
    cube.misc = 4;
    cube.array_size = 6;
    bytes six;
    for (int i = 0; i < 6; ++i)
        six.insert(six.end(), bc7.begin(), bc7.end());
    EXPECT_EQ(load_dds(dds_file(cube, six)).argb_buff[0], 0x01010101u);
}

TEST(DdsReader, DamagedFilesAreRefusedAndChangeNothing) {
    const bytes good = dds_file(block_layout("DXT5", 8, 4), bytes(32, 0));
    auto changed = [](bytes f, size_t at, uint32_t v) {
        put_le32_at(f, at, v);
        return f;
    };
    dds_layout array0 = dx10_layout(98), volume2 = dx10_layout(98), no_faces = block_layout("DXT1");
    array0.array_size = 0;
    volume2.dimension = 4, volume2.array_size = 2, volume2.depth = 1;
    no_faces.caps2 = 0x200;
    const std::pair<const char*, bytes> damaged[] = {
        {"one byte short", cut(good, good.size() - 1)},
        {"header only", cut(good, 128)},
        {"shorter than a header", cut(good, 100)},
        {"unknown FourCC", changed(good, 84, 0x31545842)},
        {"signed BC4", changed(good, 84, 0x53344342)},
        {"wrong header size", changed(good, 4, 100)},
        {"zero width", changed(good, 16, 0)},
        {"absurd height", changed(good, 12, 0x7FFFFFFF)},
        {"unknown DXGI format", dds_file(dx10_layout(95), bytes(16, 0))},
        {"array of no slices", dds_file(array0, bytes(16, 0))},
        {"volume array", dds_file(volume2, bytes(16, 0))},
        {"cube map without faces", dds_file(no_faces, bytes(8, 0))},
        {"split mask", dds_file(masked_layout(0x40, 16, 0xF00F, 0xF0, 0xF00, 0), bytes(32, 0))},
        {"overlapping masks", dds_file(masked_layout(0x40, 16, 0xFF0, 0xF0, 0xF, 0), bytes(32, 0))},
        {"mask wider than pixel",
         dds_file(masked_layout(0x40, 16, 0xF0000, 0xF0, 0xF, 0), bytes(32, 0))},
        {"12-bit pixels", dds_file(masked_layout(0x40, 12, 0xF00, 0xF0, 0xF, 0), bytes(32, 0))},
    };
    for (const auto& [why, file] : damaged) {
        image_info img;
        byte_reader in(file);
        EXPECT_EQ(img.file_load_dds(in), -2) << why;
        EXPECT_EQ(img.flag, 0) << why;
        EXPECT_TRUE(img.argb_buff.empty()) << why;
        EXPECT_EQ(img.format, IMGFMT_NONE) << why;
    }
    image_info img;
    const bytes not_dds = {'D', 'D', 'S', '!', 0, 0};
    byte_reader in(not_dds);
    EXPECT_EQ(img.file_load_dds(in), -1);
}

TEST(DdsReader, FilesOfTodaysWriterComeBack) {
    const int saved = settings().dds_format;
    temp_dir dir;
    const image_info src = make_photo_like(12, 8, 7, true);
    for (int layout = FMT_A8R8G8B8; layout <= FMT_DXT3; ++layout) {
        settings().dds_format = layout;
        std::string error;
        ASSERT_EQ(src.file_save_dds(dir.file("t.dds"), error), 0) << error;
        const bytes file = read_bytes(dir.file("t.dds"));
        // The independent test decoder gives what the file holds; DXT
        // interpolation there truncates, ours rounds: at most one level apart.
        dds_image expected;
        std::string why;
        ASSERT_TRUE(decode_dds(file, expected, why)) << why;
        const image_info img = load_dds(file);
        ASSERT_EQ(img.argb_buff.size(), expected.argb.size());
        for (size_t i = 0; i < expected.argb.size(); ++i)
            for (int s = 0; s < 32; s += 8)
                ASSERT_LE(
                    std::abs(int(img.argb_buff[i] >> s & 255) - int(expected.argb[i] >> s & 255)),
                    layout < FMT_DXT5 ? 0 : 1)
                    << "layout " << layout << " pixel " << i;
        if (layout == FMT_A8R8G8B8) {
            EXPECT_EQ(img.argb_buff, src.argb_buff);
        }
    }
    settings().dds_format = saved;
}

TEST(DdsReader, DispatchOpensDdsByContentAndReportsRefusals) {
    recording_ui ui;
    temp_dir dir;
    write_bytes(dir.file("texture.png"), dds_file(block_layout("DXT1"), bc1_block(0xF800, 0x001F)));
    image_info loaded(dir.file("texture.png"));
    EXPECT_EQ(loaded.format, IMGFMT_DDS);
    EXPECT_EQ(loaded.argb_buff[0], 0xFFFF0000u);
    EXPECT_TRUE(ui.messages.empty());

    write_bytes(dir.file("cut.dds"), dds_file(block_layout("DXT1"), bytes(7, 0)));
    image_info cut_file(dir.file("cut.dds"));
    EXPECT_EQ(cut_file.image_type, IMGTYP_NONE);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, dir.file("cut.dds") +
                                       "\n画像を開くことが出来ませんでした : the DDS file is "
                                       "damaged or of a layout not read");
    EXPECT_EQ(ui.messages[0].caption, "エラー");
}

}  // namespace
}  // namespace mevra
