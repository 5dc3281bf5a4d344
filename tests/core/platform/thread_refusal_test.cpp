// Every place that starts a helper thread finishes its work, with the same
// result, when no thread can be had.
#include <gtest/gtest.h>

#include "formats/dds_dxt_encoder.h"
#include "platform/parallel_for.h"
#include "platform/thread_start.h"
#include "support/test_support.h"

namespace mevra {
namespace {

TEST(ThreadRefusal, EveryUserOfThreadsFinishesOnTheCallingThread) {
    const image_info photo = test::make_photo_like(256, 256, 5, true);
    const image_info tall = test::make_photo_like(300, 600, 6);  // two PNG strips
    test::temp_dir dir;
    std::string error;
    std::vector<uint8_t> dxt[2];
    for (const bool refused : {false, true}) {
        refuse_thread_starts(refused);
        std::vector<int> visits(1000, 0);
        bool elsewhere = false;
        const auto caller = std::this_thread::get_id();
        parallel_for_on(4, visits.size(), 1, [&](size_t begin, size_t end) {
            elsewhere |= std::this_thread::get_id() != caller;
            for (size_t i = begin; i < end; ++i)
                ++visits[i];
        });
        EXPECT_EQ(visits, std::vector<int>(1000, 1));
        dxt[refused].resize(static_cast<size_t>(photo.pixel_count()));
        dds::encode_dxt(photo, dds::dxt_alpha::interpolated, {dds::dxt_engine::fast().search, 3},
                        dxt[refused].data());
        EXPECT_EQ(tall.file_save_png(dir.file(std::to_string(refused) + ".png"), error), 0) << error;
        refuse_thread_starts(false);
        EXPECT_EQ(elsewhere, !refused);
    }
    EXPECT_EQ(dxt[1], dxt[0]);
    EXPECT_EQ(test::read_bytes(dir.file("1.png")), test::read_bytes(dir.file("0.png")));
}

}  // namespace
}  // namespace mevra
