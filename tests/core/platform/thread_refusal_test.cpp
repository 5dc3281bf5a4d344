// Every place that starts a helper thread finishes its work, with the same
// result, when no thread can be had.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "formats/dds_dxt_encoder.h"
#include "image/image_info.h"
#include "platform/parallel_for.h"
#include "platform/thread_start.h"
#include "support/test_support.h"

namespace mevra {
namespace {

struct refusing_threads {
    refusing_threads() { refuse_thread_starts(true); }
    ~refusing_threads() { refuse_thread_starts(false); }
};

TEST(ThreadRefusal, EveryUserOfThreadsFinishesOnTheCallingThread) {
    {
        refusing_threads refuse;
        std::vector<int> visits(1000, 0);
        bool elsewhere = false;
        const auto caller = std::this_thread::get_id();
        parallel_for_on(4, visits.size(), 1, [&](size_t begin, size_t end) {
            elsewhere |= std::this_thread::get_id() != caller;
            for (size_t i = begin; i < end; ++i)
                ++visits[i];
        });
        EXPECT_FALSE(elsewhere);
        EXPECT_EQ(visits, std::vector<int>(1000, 1));
    }

    const image_info photo = test::make_photo_like(256, 256, 5, true);
    std::vector<uint8_t> threaded(static_cast<size_t>(photo.pixel_count())), alone(threaded.size());
    dds::encode_dxt(photo, dds::dxt_alpha::interpolated, {dds::dxt_engine::fast().search, 3},
                    threaded.data());
    test::temp_dir dir;
    std::string error;
    const image_info tall = test::make_photo_like(300, 600, 6);
    ASSERT_EQ(tall.file_save_png(dir.file("threaded.png"), error), 0) << error;
    {
        refusing_threads refuse;
        dds::encode_dxt(photo, dds::dxt_alpha::interpolated, {dds::dxt_engine::fast().search, 3},
                        alone.data());
        ASSERT_EQ(tall.file_save_png(dir.file("alone.png"), error), 0) << error;
    }
    EXPECT_EQ(alone, threaded);
    EXPECT_EQ(test::read_bytes(dir.file("alone.png")), test::read_bytes(dir.file("threaded.png")));
}

}  // namespace
}  // namespace mevra
