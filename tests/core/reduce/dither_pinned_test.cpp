// The dithered mappings pinned to results worked out once by a separate,
// straightforward program written from the formulas (single precision, the
// kernels' weights as sixteenths and forty-eighths, the 4 x 4 Bayer matrix),
// not by this code. Each result is the chosen palette index of every pixel,
// rows separated by '/'.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/image_info.h"
#include "platform/thread_start.h"
#include "reduce/dither_mapping.h"

namespace mevra {
namespace {

const std::vector<wxyz> palette = {{255, 0, 0, 0},     {255, 80, -30, 20}, {255, 160, 40, -50},
                                   {255, 255, 0, 0},   {128, 120, 10, 10}, {255, 200, -100, 90}};

struct picture {
    int width, height;
    std::vector<wxyz> pixels;  // one old colour per pixel
};

// Luma rising to the right, small colour differences.
picture gradient() {
    picture p{16, 5, {}};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.pixels.push_back({255.0f, float(x * 16 + y * 3), float(x - 8), float(y * 4 - 8)});
    return p;
}

// Busy colours with some half-transparent pixels, wide enough for the
// two-thread path.
picture patch() {
    picture p{64, 6, {}};
    uint32_t state = 12345u;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 0x7fffu;
    };
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            wxyz v;
            v.a = next() % 4 == 0 ? 128.0f : 255.0f;
            v.y = float((x * 3 + y * 11 + int(next() % 40)) % 256);
            v.cb = float(int(next() % 201) - 100);
            v.cr = float(int(next() % 181) - 90);
            p.pixels.push_back(v);
        }
    return p;
}

std::string mapped(const picture& p, dither_settings dither, bool reference) {
    image_info img;
    img.width = p.width;
    img.height = p.height;
    img.index_buff.resize(p.pixels.size());
    for (size_t i = 0; i < p.pixels.size(); ++i)
        img.index_buff[i] = static_cast<int32_t>(i);
    std::vector<wxyz> float_palette = palette;
    float_palette.resize(256, wxyz{0, 0, 0, 0});
    const nearest_entry_finder finder(float_palette, static_cast<int>(palette.size()));
    if (dither.type == 3)
        map_pattern_dither(img, p.pixels, finder, dither, reference);
    else
        map_error_diffusion(img, p.pixels, float_palette, finder, dither, reference);
    std::string text;
    for (int y = 0; y < p.height; ++y) {
        if (y > 0) text += '/';
        for (int x = 0; x < p.width; ++x)
            text += std::to_string(img.index_buff[size_t(y * p.width + x)]);
    }
    return text;
}

TEST(DitherPinned, DiffusionAAndBAndThePatternGiveTheWorkedOutIndices) {
    struct pinned {
        picture (*make)();
        dither_settings dither;
        const char* expected;
    };
    const pinned cases[] = {
        {gradient, {1, 10},
         "0001111212232333/0010120212131323/0010201213133333/0010112121312333/0101211131333133"},
        {gradient, {2, 10},
         "0001111122223333/0001112112132333/0010112121313323/0011021122331333/0011112111323333"},
        {gradient, {1, 4},
         "0001111121223333/0001111212232333/0010111121232333/0001111212233333/0011111121323333"},
        {gradient, {3, 10},
         "0001111112222333/0011111122223333/0001111112223333/0011111122223333/0001111112233333"},
        {gradient, {3, 3},
         "0001111112222333/0001111112223333/0001111112223333/0001111122223333/0001111112233333"},
        {patch, {1, 10},
         "4100001040410114012141214444114424144122451222454443222453133243/"
         "0414001440141140420422042022441154145521512344431325234323544334/"
         "0001140010141011102020220424412121242443212313553224253234355333/"
         "1014004204111121224202142121122121343413523143542433434354233333/"
         "2110110414121241112112222422212552442454324332534355433234324333/"
         "0124112022021111445141124244534425254353234332343334454344331034"},
        {patch, {2, 10},
         "4000001041410114112141214444114424144222451222434442232433523343/"
         "0414100440141140421412042212442154141521512344525235224425544433/"
         "0001040110141011100221222424421122242445222321553224253234335333/"
         "1014004204111121224220240111122111343453513345342443434353233333/"
         "2110110414111241112112221422112551442414324233534555433334334333/"
         "0124112202211111441141124244354425245353224332343334454344330034"},
        {patch, {2, 6},
         "4000001041410114112141124444114424144222451222434442222433333243/"
         "0414100440141140421412141212442154141521512244425225234425544433/"
         "0011040110141011112221222424421122242445222321553224233234355233/"
         "0014004204112121124221241111222111242453513345342443443354233333/"
         "2110111414121141112112221412112552442434324233534555333333334333/"
         "0124111222211111441141124244354435245353224332343334454344330034"},
        {patch, {3, 10},
         "4100001141410104012141114444114424144222451212434442222433333343/"
         "0414101441141142421412241212442154141521512244421225224423344434/"
         "0001040112141211111221222424422122242445222323553224233234355233/"
         "1014104214112121224221241111222121242453513245343443444354233333/"
         "0110111414121141112512221412112151442414334223534555432324334333/"
         "2124111222211111441141124244254435345253224232343334353334330034"},
    };
    // The fast path also without its helper thread.
    for (const bool no_threads : {false, true}) {
        refuse_thread_starts(no_threads);
        for (const pinned& c : cases)
            for (const bool reference : {true, false})
                EXPECT_EQ(mapped(c.make(), c.dither, reference), c.expected)
                    << "type " << c.dither.type << " level " << c.dither.level
                    << (reference ? " reference" : " fast") << (no_threads ? " alone" : "");
    }
    refuse_thread_starts(false);
}

}  // namespace
}  // namespace mevra
