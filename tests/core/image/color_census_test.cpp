// The census by hashing must give the bucket sort's table, counts and indices
// exactly, on one thread and on several, and give up only on pictures whose
// colours would overfill its tables.
#include <gtest/gtest.h>

#include <random>

#include "image/color_census.h"

namespace mevra {
namespace {

std::vector<uint32_t> pixels_by(size_t count, uint32_t seed, uint32_t (*colour)(size_t, uint32_t)) {
    std::mt19937 rng(seed);
    std::vector<uint32_t> argb(count);
    for (size_t p = 0; p < count; ++p)
        argb[p] = colour(p, static_cast<uint32_t>(rng()));
    return argb;
}

void expect_same_census(const std::vector<uint32_t>& argb, const char* name) {
    std::vector<int32_t> plain_index(argb.size()), fast_index(argb.size());
    colour_census plain, fast;
    census_by_buckets(argb, plain_index, plain);
    ASSERT_TRUE(census_by_hashing(argb, fast_index, fast)) << name;
    ASSERT_EQ(fast.colours, plain.colours) << name;
    ASSERT_EQ(fast.counts, plain.counts) << name;
    ASSERT_EQ(fast_index, plain_index) << name;
}

TEST(ColorCensus, HashingMatchesTheBucketSort) {
    // 2.5 million pixels run in two or more parts; 20000 in one.
    constexpr size_t large = 2500000, small = 20000;
    // Grain over a gradient, like a photograph; colours change between parts.
    expect_same_census(pixels_by(large, 1,
                                 [](size_t p, uint32_t r) {
                                     return 0xFF000000u | static_cast<uint32_t>(p / 4096) << 12 |
                                            (r & 0x0F0Fu);
                                 }),
                       "gradient");
    // Few colours, translucent and black among them, long runs of one colour.
    expect_same_census(pixels_by(large, 2,
                                 [](size_t p, uint32_t) {
                                     const uint32_t k = static_cast<uint32_t>(p / 777 % 9);
                                     return k == 0 ? 0u : (k * 0x1F000000u) | k * 0x10203u;
                                 }),
                       "runs");
    expect_same_census(pixels_by(large, 3, [](size_t, uint32_t) { return 0xFF336699u; }), "flat");
    // Every colour seen once in the second half only, many seen in both.
    expect_same_census(pixels_by(large, 4,
                                 [](size_t p, uint32_t r) {
                                     return p < large / 2 ? (r & 0xFFFFu)
                                                          : static_cast<uint32_t>(p / 2);
                                 }),
                       "second_half");
    expect_same_census(pixels_by(small, 5, [](size_t, uint32_t r) { return r; }), "small");
}

TEST(ColorCensus, HashingGivesUpOnTooManyColours) {
    // Every pixel a colour of its own: more than a part's table may hold.
    const std::vector<uint32_t> argb =
        pixels_by(2500000, 6, [](size_t p, uint32_t) { return static_cast<uint32_t>(p) * 7u; });
    std::vector<int32_t> index(argb.size());
    colour_census out;
    EXPECT_FALSE(census_by_hashing(argb, index, out));
    EXPECT_TRUE(out.colours.empty());
    EXPECT_TRUE(out.counts.empty());
}

}  // namespace
}  // namespace mevra
