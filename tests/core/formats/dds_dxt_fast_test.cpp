// The fast encoder paths must write exactly the bytes of the plain reference.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "formats/dds_dxt_encoder.h"
#include "formats/dds_dxt_search.h"
#include "image/image_info.h"
#include "support/test_support.h"

namespace mevra {
namespace {

using dds::search_kind;

std::vector<search_kind> fast_kinds() {
    std::vector<search_kind> kinds;
    for (search_kind k : {search_kind::pruned, search_kind::avx2, search_kind::avx512})
        if (dds::search_supported(k)) kinds.push_back(k);
    return kinds;
}

// Blocks of many characters, including the ones that produce equal errors
// for different pairs (repeated colours, greys, flat blocks) and the
// partial-transparency mode.
void random_block(std::mt19937& rng, uint32_t (&px)[16]) {
    auto u = [&](uint32_t n) { return static_cast<uint32_t>(rng() % n); };
    const uint32_t kind = u(7);
    uint32_t palette[4];
    for (auto& c : palette)
        c = rng() | 0xFF000000u;
    const uint32_t base = rng();
    for (int p = 0; p < 16; ++p) {
        uint32_t c = 0;
        switch (kind) {
            case 0:
                c = rng() | 0xFF000000u;
                break;  // noise
            case 1:
                c = palette[u(2 + u(3))];
                break;  // two to four colours
            case 2:
                c = 0xFF010101u * u(256);
                break;  // greys
            case 3:
                c = base | 0xFF000000u;
                break;  // flat
            case 4: {   // gentle gradient
                const uint32_t r = (base >> 16 & 0x7F) + static_cast<uint32_t>(p) * 3 + u(4);
                const uint32_t g = (base >> 8 & 0x7F) + static_cast<uint32_t>(p % 4) * 9;
                const uint32_t b = (base & 0x7F) + static_cast<uint32_t>(p / 4) * 7;
                c = 0xFF000000u | r << 16 | g << 8 | b;
                break;
            }
            case 5:
                c = palette[u(4)] & (u(3) ? 0xFFFFFFFFu : 0x00FFFFFFu);
                break;  // holes
            default:
                c = rng();
                break;  // any alpha
        }
        px[p] = c;
    }
    // Now and then clear a random number of pixels, all 16 included.
    if (u(4) == 0) {
        const uint32_t clear = u(17);
        for (uint32_t k = 0; k < clear; ++k)
            px[u(16)] &= 0x00FFFFFFu;
    }
}

TEST(DdsFastPath, EverySearchMatchesThePlainOneOnRandomBlocks) {
    const auto kinds = fast_kinds();
    std::mt19937 rng(20261208);
    for (int n = 0; n < 30000; ++n) {
        uint32_t px[16];
        random_block(rng, px);
        dds::dxt_block b;
        dds::prepare_block(px, b);
        const dds::endpoint_pair want = dds::search_endpoints_plain(b);
        for (search_kind k : kinds) {
            const dds::endpoint_pair got = dds::search_endpoints(b, k);
            ASSERT_EQ(got, want) << "block " << n << " kind " << static_cast<int>(k) << ": ("
                                 << got.i << "," << got.j << ") vs (" << want.i << "," << want.j
                                 << ")";
        }
    }
}

TEST(DdsFastPath, FastEngineWritesTheSameImagesAsThePlainOne) {
    std::vector<image_info> images;
    images.push_back(test::make_photo_like(64, 48, 1));
    images.push_back(test::make_photo_like(256, 256, 2, true));  // large enough for threads
    images.push_back(test::make_argb_by(128, 132, [](int x, int y) {
        return static_cast<uint32_t>((x * 37 + y * 11) % 7) * 0x24204812u;  // repeated colours
    }));
    std::mt19937 rng(7);
    images.push_back(test::make_argb_by(260, 256, [&](int, int) { return rng(); }));
    std::vector<uint32_t> palette(16);
    for (auto& c : palette)
        c = rng();
    std::vector<int32_t> indices(96 * 64);
    for (auto& i : indices)
        i = static_cast<int32_t>(rng() % 16);
    images.push_back(test::make_indexed(IMGTYP_16, 96, 64, palette, indices));

    for (const image_info& img : images) {
        SCOPED_TRACE(testing::Message() << img.width << "x" << img.height);
        const size_t bytes = static_cast<size_t>(img.pixel_count());
        for (dds::dxt_alpha alpha : {dds::dxt_alpha::interpolated, dds::dxt_alpha::explicit4}) {
            std::vector<uint8_t> want(bytes), got(bytes);
            dds::encode_dxt(img, alpha, dds::dxt_engine::plain(), want.data());
            for (search_kind k : fast_kinds())
                for (int threads : {1, 2, 3}) {
                    std::fill(got.begin(), got.end(), uint8_t{0xCD});
                    dds::encode_dxt(img, alpha, {k, threads}, got.data());
                    ASSERT_EQ(got, want)
                        << "kind " << static_cast<int>(k) << " threads " << threads;
                }
            dds::encode_dxt(img, alpha, dds::dxt_engine::fast(), got.data());
            ASSERT_EQ(got, want);
        }
    }
}

}  // namespace
}  // namespace mevra
