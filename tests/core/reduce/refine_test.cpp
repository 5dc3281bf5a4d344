// Refinement passes over a reduced palette: what they lower, what they leave.
#include <gtest/gtest.h>

#include <cstring>

#include "image/image_info.h"
#include "reduce/palette_refinement.h"
#include "settings/clgbase.h"
#include "support/test_support.h"

namespace mevra {
namespace {

struct census_of {
    image_info img;
    explicit census_of(image_info source) : img(std::move(source)) {
        img.color_num = img.argb_to_color_index();
    }
    refinement_census census() const {
        const size_t n = static_cast<size_t>(img.color_num);
        return {std::span<const uint32_t>(img.color).first(n),
                std::span<const int32_t>(img.color_cnt).first(n),
                {}};
    }
};

// The palette a reduction without refinement gives, as the refinement's start.
std::vector<wxyz> reduced_palette(const image_info& source, int colours) {
    image_info img = source;
    settings().dither_type = 0;
    img.image_to_index(colours);
    std::vector<wxyz> out;
    for (int e = 0; e < colours; ++e)
        out.push_back(conv_wxyz(img.color[static_cast<size_t>(e)]));
    return out;
}

bool same_bits(const std::vector<wxyz>& a, const std::vector<wxyz>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(wxyz)) == 0;
}

double mean_squared_error(const image_info& source, const image_info& reduced) {
    const std::vector<uint32_t> a = test::argb_pixels(source), b = test::argb_pixels(reduced);
    double sum = 0.0;
    for (size_t p = 0; p < a.size(); ++p)
        for (int shift = 0; shift < 32; shift += 8) {
            const double d = static_cast<double>((a[p] >> shift) & 0xFF) -
                             static_cast<double>((b[p] >> shift) & 0xFF);
            sum += d * d;
        }
    return sum / static_cast<double>(a.size());
}

class Refine : public ::testing::Test {
  protected:
    void SetUp() override { settings().reset_defaults(); }
    void TearDown() override { settings().reset_defaults(); }
};

TEST_F(Refine, EveryPassLowersTheWeightedErrorAndFixedEntriesStay) {
    const image_info photo = test::make_photo_like(160, 120, 31, true);
    const census_of c(photo);
    const std::vector<wxyz> start = reduced_palette(photo, 32);
    std::vector<uint8_t> fixed(start.size(), 0);
    fixed[0] = fixed[9] = fixed[31] = 1;

    double previous = refinement_error(start, c.census());
    for (int passes = 1; passes <= 8; ++passes) {
        std::vector<wxyz> centres = start;
        refine_centres(centres, fixed, c.census(), passes, 1);
        const double error = refinement_error(centres, c.census());
        EXPECT_LE(error, previous) << passes << " passes";
        previous = error;
        for (size_t e : {0u, 9u, 31u})
            EXPECT_TRUE(std::memcmp(&centres[e], &start[e], sizeof(wxyz)) == 0) << e;
    }
    EXPECT_LT(previous, 0.9 * refinement_error(start, c.census()));
}

TEST_F(Refine, ResultDoesNotDependOnTheThreadCount) {
    // Enough colours for several chunks of colours per thread.
    const image_info photo = test::make_photo_like(400, 300, 32);
    const census_of c(photo);
    ASSERT_GT(c.img.color_num, 3 * 4096) << "too few colours for three threads";
    const std::vector<wxyz> start = reduced_palette(photo, 64);
    const std::vector<uint8_t> fixed(start.size(), 0);
    std::vector<wxyz> one = start;
    refine_centres(one, fixed, c.census(), 4, 1);
    EXPECT_FALSE(same_bits(one, start));
    for (unsigned threads : {2u, 3u, 8u}) {
        std::vector<wxyz> many = start;
        refine_centres(many, fixed, c.census(), 4, threads);
        EXPECT_TRUE(same_bits(one, many)) << threads << " threads";
    }
}

TEST_F(Refine, EmptyEntriesTakeTheWorstColourKeysStayOutAndTheyStopEarly) {
    // Two clusters of grey, one far colour, a key colour that no entry covers.
    const std::vector<uint32_t> colours = {0xFF101010u, 0xFF141414u, 0xFF808080u,
                                           0xFF848484u, 0xFFFF0000u, 0x00000000u};
    const std::vector<int32_t> counts = {5, 5, 5, 5, 3, 100};
    const std::vector<uint8_t> key = {0, 0, 0, 0, 0, 1};
    const refinement_census census{colours, counts, key};
    std::vector<wxyz> centres = {conv_wxyz(0xFF121212u), conv_wxyz(0xFF828282u),
                                 conv_wxyz(0xFF0000FFu)};
    // The blue entry gets nothing once red goes to the grey it is nearer to.
    centres[2].cb = 5000.0f;
    const int run = refine_centres(centres, {0, 0, 0}, census, 16, 1);
    const wxyz red = conv_wxyz(0xFFFF0000u);
    EXPECT_TRUE(std::memcmp(&centres[2], &red, sizeof(wxyz)) == 0);
    EXPECT_EQ(conv_argb(centres[0]), 0xFF121212u);
    EXPECT_EQ(conv_argb(centres[1]), 0xFF828282u);
    EXPECT_LT(run, 16) << "stops once nothing moves";
    // Each grey is 2 off its entry in luma (4 squared); red and the key add nothing.
    EXPECT_NEAR(refinement_error(centres, census), 4 * 5 * 4.0, 0.01);
}

TEST_F(Refine, ReductionWithPassesGetsCloserAndLeavesOwnColoursAlone) {
    // Over 65536 colours: with passes the exact colours are refined and mapped.
    const image_info photo = test::make_argb_by(320, 240, [](int x, int y) {
        const uint32_t v = static_cast<uint32_t>(x * 7919 + y * 104729) * 2654435761u;
        return 0xFF000000u | (v >> 8);
    });
    image_info off = photo, refined = photo;
    settings().dither_type = 0;
    off.image_to_index(256);
    settings().refine_passes = 6;
    refined.image_to_index(256);
    EXPECT_LT(mean_squared_error(photo, refined), mean_squared_error(photo, off));
    EXPECT_EQ(refined.color_num, 256);

    // A picture of fewer colours than the target keeps its own table exactly.
    const image_info few = test::make_argb_by(6, 5, [](int x, int y) {
        return 0xFF000000u | static_cast<uint32_t>((x * 5 + y) * 0x0A0B0C);
    });
    image_info kept = few, plain = few;
    kept.image_to_index(64);
    settings().refine_passes = 0;
    plain.image_to_index(64);
    EXPECT_EQ(kept.color, plain.color);
    EXPECT_EQ(kept.index_buff, plain.index_buff);
}

}  // namespace
}  // namespace mevra
