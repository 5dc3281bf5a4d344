#include <gtest/gtest.h>

#include <string>

#include "codec_test_files.h"
#include "formats/palette_file.h"

namespace mevra {
namespace {

using namespace test;

std::vector<uint32_t> ramp(size_t n) {
    std::vector<uint32_t> p;
    for (size_t i = 0; i < n; ++i)
        p.push_back(0xFF000000u | static_cast<uint32_t>(i * 0x010307u * 37 % 0x1000000u));
    return p;
}

bool read_text(const std::string& text, const std::string& ext, std::vector<uint32_t>& out,
               std::string& error) {
    return read_palette_bytes(bytes(text.begin(), text.end()), ext, out, error);
}

TEST(PaletteFile, EveryTypeWritesAndReadsBackTheSameColoursInOrder) {
    temp_dir dir;
    const struct {
        palette_file_type type;
        const char* name;
    } types[] = {{palette_file_type::gimp, "p.gpl"}, {palette_file_type::jasc, "p.pal"},
                 {palette_file_type::riff, "p.pal"}, {palette_file_type::act, "p.act"},
                 {palette_file_type::hex, "p.hex"},  {palette_file_type::png, "p.png"}};
    for (size_t n : {size_t{1}, size_t{16}, size_t{200}, size_t{256}}) {
        for (const auto& t : types) {
            const std::string path = dir.file(t.name);
            std::string error;
            ASSERT_TRUE(write_palette_file(path, t.type, ramp(n), error)) << error;
            std::vector<uint32_t> back;
            ASSERT_TRUE(read_palette_file(path, back, error)) << t.name << ": " << error;
            EXPECT_EQ(back, ramp(n)) << t.name << " with " << n << " colours";
        }
    }
    // Alpha survives where the type can hold it: the PNG's tRNS, the ACT's
    // transparent index (its first alpha-0 entry).
    const std::vector<uint32_t> keyed = {0xFF102030u, 0x00405060u, 0x80FFFFFFu};
    std::string error;
    std::vector<uint32_t> back;
    ASSERT_TRUE(write_palette_file(dir.file("k.png"), palette_file_type::png, keyed, error));
    ASSERT_TRUE(read_palette_file(dir.file("k.png"), back, error)) << error;
    EXPECT_EQ(back, keyed);
    ASSERT_TRUE(write_palette_file(dir.file("k.act"), palette_file_type::act, keyed, error));
    ASSERT_TRUE(read_palette_file(dir.file("k.act"), back, error)) << error;
    EXPECT_EQ(back, (std::vector<uint32_t>{0xFF102030u, 0x00405060u, 0xFFFFFFFFu}));
    EXPECT_EQ(read_bytes(dir.file("k.act")).size(), 772u);
}

TEST(PaletteFile, TextFilesFromOtherToolsReadWithCommentsCrLfAndTrailingBlanks) {
    std::vector<uint32_t> p;
    std::string error;
    ASSERT_TRUE(
        read_text("\xEF\xBB\xBFGIMP Palette\r\nName: Test  \r\nColumns: 4\r\n# comment\r\n"
                  "  0   0   0\tBlack \r\n\r\n255 128   1 Orange Peel\t\r\n#\r\n",
                  ".gpl", p, error))
        << error;
    EXPECT_EQ(p, (std::vector<uint32_t>{0xFF000000u, 0xFFFF8001u}));
    ASSERT_TRUE(read_text("GIMP Palette\nChannels: RGBA\n1 2 3 4 semi\n", ".gpl", p, error));
    EXPECT_EQ(p, (std::vector<uint32_t>{0x04010203u}));
    ASSERT_TRUE(
        read_text("JASC-PAL\r\n0100\r\n# made by hand\r\n3\r\n1 2 3\r\n4 5 6 255\r\n"
                  "7 8 9   \r\n\r\nextra lines are not read\r\n",
                  ".pal", p, error))
        << error;
    EXPECT_EQ(p, (std::vector<uint32_t>{0xFF010203u, 0xFF040506u, 0xFF070809u}));
    ASSERT_TRUE(read_text("; lospec\r\n#FF0000 \r\n00ff00\r\n\r\n", ".hex", p, error)) << error;
    EXPECT_EQ(p, (std::vector<uint32_t>{0xFFFF0000u, 0xFF00FF00u}));
    // A hex list is recognised without its extension too.
    ASSERT_TRUE(read_text("000000\nffffff\n", ".txt", p, error)) << error;
    EXPECT_EQ(p.size(), 2u);
}

TEST(PaletteFile, DamagedTruncatedAndOversizedFilesSayWhyAndChangeNothing) {
    const std::vector<uint32_t> before = {0xFF123456u};
    auto refused = [&](const bytes& b, const std::string& ext, const std::string& reason) {
        std::vector<uint32_t> p = before;
        std::string error;
        EXPECT_FALSE(read_palette_bytes(b, ext, p, error)) << ext;
        EXPECT_NE(error.find(reason), std::string::npos) << ext << ": " << error;
        EXPECT_EQ(p, before);
    };
    auto text = [](const std::string& s) { return bytes(s.begin(), s.end()); };
    refused(text("GIMP Palette\n1 2\n"), ".gpl", "line 2");
    refused(text("GIMP Palette\n1 2 300\n"), ".gpl", "0 to 255");
    refused(text("GIMP Palette\n# none\n"), ".gpl", "no colours");
    refused(text("JASC-PAL\n0100\n3\n1 2 3\n4 5 6\n"), ".pal", "truncated");
    refused(text("JASC-PAL\n0200\n1\n1 2 3\n"), ".pal", "version");
    refused(text("JASC-PAL\n0100\n257\n"), ".pal", "more than 256");
    refused(text("JASC-PAL\n0100\n1\n1 2 3 x\n"), ".pal", "unexpected text");
    refused(text("12345\n"), ".hex", "RRGGBB");
    std::string many;
    for (int i = 0; i < 257; ++i)
        many += "000000\n";
    refused(text(many), ".hex", "more than 256");
    std::string gimp = "GIMP Palette\n";
    for (int i = 0; i < 257; ++i)
        gimp += "1 1 1\n";
    refused(text(gimp), ".gpl", "more than 256");

    std::string error;
    bytes riff;
    ASSERT_TRUE(palette_file_bytes(palette_file_type::riff, ramp(4), riff, error));
    bytes cut(riff.begin(), riff.end() - 3);
    refused(cut, ".pal", "truncated");
    bytes wrong = riff;
    wrong[21] = 0x02;  // palVersion 0x0200
    refused(wrong, ".pal", "version");
    bytes huge = riff;
    huge[22] = 0x01;
    huge[23] = 0x01;  // 257 entries
    refused(huge, ".pal", "more than 256");
    bytes act;
    ASSERT_TRUE(palette_file_bytes(palette_file_type::act, ramp(4), act, error));
    refused(bytes(act.begin(), act.end() - 1), ".act", "768 or 772");
    act[770] = 0;
    act[771] = 9;  // transparent index past the four colours
    refused(act, ".act", "transparent index");
    bytes png;
    ASSERT_TRUE(palette_file_bytes(palette_file_type::png, ramp(8), png, error));
    refused(bytes(png.begin(), png.begin() + 40), ".png", "picture could not be read");
    refused(text("just some words"), ".dat", "no palette of a type");
}

TEST(PaletteFile, TrueColourPicturesGiveTheirDistinctColoursInScanOrder) {
    temp_dir dir;
    const image_info img = make_argb(
        3, 2, {0xFF0000FFu, 0xFF00FF00u, 0xFF0000FFu, 0x80FF0000u, 0xFF00FF00u, 0xFF0000FFu});
    std::string error;
    ASSERT_EQ(img.file_save_png(dir.file("a.png"), error), 0) << error;
    std::vector<uint32_t> p;
    ASSERT_TRUE(read_palette_file(dir.file("a.png"), p, error)) << error;
    EXPECT_EQ(p, (std::vector<uint32_t>{0xFF0000FFu, 0xFF00FF00u, 0x80FF0000u}));
    const image_info rich = make_argb_by(
        17, 16, [](int x, int y) { return 0xFF000000u | static_cast<uint32_t>(y * 17 + x); });
    ASSERT_EQ(rich.file_save_png(dir.file("rich.png"), error), 0) << error;
    EXPECT_FALSE(read_palette_file(dir.file("rich.png"), p, error));
    EXPECT_NE(error.find("more than 256"), std::string::npos) << error;
}

}  // namespace
}  // namespace mevra
