// The batch run driven by a scripted host: what it asks, what it writes and
// how it ends, on every way out.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "batch/batch_engine.h"
#include "support/test_support.h"

namespace mevra {
namespace {

namespace fs = std::filesystem;

class scripted_host final : public batch_host {
  public:
    std::vector<std::string> list;
    batch_choices chosen;
    std::vector<std::pair<int, int>> progress;
    bool option_ok = true;
    std::vector<int> option_calls;
    std::deque<overwrite_answer> answers;  // empty: the default question through the ui port
    std::vector<std::string> asked;
    bool save_ok = false;
    std::string save_path;
    int save_format = 0;
    std::vector<std::string> save_dialogs;
    std::function<void(int)> on_events;  // called with the running count of event calls
    int events = 0;
    std::vector<batch_file_report> reports;
    std::vector<std::string> shown;
    int exclamations = 0, opens = 0, closes = 0;
    bool holding = false, held_two = false;

    int entry_count() override { return static_cast<int>(list.size()); }
    std::string entry(int i) override { return list[static_cast<size_t>(i)]; }
    batch_choices choices() override { return chosen; }
    void set_progress(int value, int maximum) override { progress.emplace_back(value, maximum); }
    void process_events() override {
        if (on_events) on_events(++events);
    }
    bool option_dialog(int op) override {
        option_calls.push_back(op);
        return option_ok;
    }
    overwrite_answer ask_overwrite(const std::string& path) override {
        asked.push_back(path);
        if (answers.empty()) return batch_host::ask_overwrite(path);
        const auto a = answers.front();
        answers.pop_front();
        return a;
    }
    bool save_dialog(const std::string& path, int format, std::string& out,
                     int& out_format) override {
        save_dialogs.push_back(path + "|" + std::to_string(format));
        out = save_path;
        out_format = save_format;
        return save_ok;
    }
    void exclamation() override { ++exclamations; }
    void holder_open() override { ++opens; }
    void holder_show(const std::string& title, image_info& image) override {
        held_two = held_two || holding;
        holding = true;
        shown.push_back(title);
        EXPECT_NE(image.flag, 0);
    }
    void holder_clear() override { holding = false; }
    void holder_close() override { ++closes; }
    void file_done(const batch_file_report& r) override { reports.push_back(r); }
};

class BatchEngine : public ::testing::Test {
  protected:
    test::temp_dir dir;
    test::recording_ui ui{msg_answer::cancel};
    scripted_host host;
    batch_engine engine;

    void SetUp() override { settings().reset_defaults(); }
    // A small BMP source file.
    std::string source(const std::string& name, uint32_t seed = 1) {
        auto img = test::make_photo_like(8, 4, seed);
        std::string path = dir.file(name), error;
        EXPECT_EQ(img.file_save_bmp(path, error), 0) << error;
        return path;
    }
    // Every run ends with the holder closed and the bar back at 0.
    void expect_clean_end(int exclamations) {
        EXPECT_EQ(host.opens, 1);
        EXPECT_EQ(host.closes, 1);
        EXPECT_FALSE(host.holding);
        EXPECT_FALSE(host.held_two);
        ASSERT_FALSE(host.progress.empty());
        EXPECT_EQ(host.progress.back().first, 0);
        EXPECT_EQ(host.exclamations, exclamations);
        EXPECT_FALSE(engine.running());
    }
};

TEST_F(BatchEngine, EmptyListSavesNothingAndStillSounds) {
    const auto s = engine.run(host);
    EXPECT_EQ(s.end, batch_end::finished);
    EXPECT_EQ(host.progress, (std::vector<std::pair<int, int>>{{0, 0}, {0, 0}}));
    EXPECT_TRUE(host.reports.empty());
    expect_clean_end(1);
}

TEST_F(BatchEngine, ConvertsBesideSourcesAndSkipsMissingEntriesSilently) {
    const std::string a = source("a.bmp"), b = source("b.c.bmp", 2);
    fs::create_directory(dir.file("folder"));
    host.list = {a, dir.file("gone.bmp"), dir.file("folder"), "", b};
    host.chosen.format = IMGFMT_PNG;
    const auto s = engine.run(host);
    EXPECT_EQ(s.saved, 2);
    EXPECT_EQ(s.skipped, 3);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(host.shown, (std::vector<std::string>{a, b}));
    EXPECT_EQ(host.reports[4].output, dir.path().string() + "/b.c.png");
    // The same bytes the save dispatch writes for the loaded file.
    image_info direct(a);
    ASSERT_EQ(direct.save_to_file(IMGFMT_PNG, dir.file("direct.png")), 0);
    EXPECT_EQ(test::read_bytes(dir.file("a.png")), test::read_bytes(dir.file("direct.png")));
    // The bar advances for skipped entries too.
    std::vector<std::pair<int, int>> bar{{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}, {0, 5}};
    EXPECT_EQ(host.progress, bar);
    expect_clean_end(1);
}

TEST_F(BatchEngine, OutputFolderGetsASeparatorEvenAfterATrailingOne) {
    const std::string a = source("a.bmp");
    fs::create_directory(dir.file("out"));
    host.list = {a};
    host.chosen = {4, IMGFMT_TGA, true, dir.file("out") + "/", true};
    engine.run(host);
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0].output, dir.file("out") + "//a.tga");
    image_info out(dir.file("out/a.tga"));
    EXPECT_EQ(out.width, 4);
}

TEST_F(BatchEngine, MissingOutputFolderIsReportedAndNothingIsTouched) {
    host.list = {source("a.bmp")};
    host.chosen.use_out_folder = true;
    host.chosen.out_folder = dir.file("nowhere");
    host.chosen.operation = 1;
    EXPECT_EQ(engine.run(host).end, batch_end::no_out_folder);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "出力フォルダ : " + dir.file("nowhere") + "\nが存在しません。入力し直して下さい。");
    EXPECT_EQ(ui.messages[0].caption, "設定エラー");
    EXPECT_TRUE(host.option_calls.empty());
    EXPECT_TRUE(host.reports.empty());
    expect_clean_end(0);
}

TEST_F(BatchEngine, CancelledOptionDialogTouchesNoFile) {
    host.list = {source("a.bmp")};
    host.option_ok = false;
    for (int op : {1, 2, 3}) {
        host.chosen.operation = op;
        EXPECT_EQ(engine.run(host).end, batch_end::option_cancelled);
    }
    EXPECT_EQ(host.option_calls, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(host.reports.empty());
    EXPECT_FALSE(fs::exists(dir.file("a.bmp.png")));
    EXPECT_EQ(host.exclamations, 0);
    EXPECT_EQ(host.closes, 3);
    host.chosen.operation = 4;  // no dialog for a rotation
    engine.run(host);
    EXPECT_EQ(host.option_calls.size(), 3u);
}

TEST_F(BatchEngine, StopEndsBeforeTheNextFileAndTheListMayChangeDuringARun) {
    const std::string a = source("a.bmp"), b = source("b.bmp"), c = source("c.bmp");
    host.list = {a, b};
    host.chosen.format = IMGFMT_PNG;
    // First file's first events: a drop adds c. Its second (before the save): stop.
    host.on_events = [&](int n) {
        if (n == 1) host.list.push_back(c);
        if (n == 2) {
            EXPECT_EQ(engine.run(host).end, batch_end::busy);  // a second start does nothing
            engine.stop();
        }
    };
    const auto s = engine.run(host);
    EXPECT_EQ(s.end, batch_end::stopped);
    EXPECT_EQ(s.saved, 1);
    EXPECT_TRUE(fs::exists(dir.file("a.png")));
    EXPECT_FALSE(fs::exists(dir.file("b.png")));
    EXPECT_EQ(host.progress[1], std::make_pair(1, 2));
    EXPECT_EQ(host.progress[2], std::make_pair(2, 3));  // the maximum follows the list
    expect_clean_end(1);

    // A new run clears the stop; entries removed mid-run are not reached.
    host = scripted_host{};
    host.list = {a, b, c};
    host.chosen = {0, IMGFMT_PNG, false, "", false};
    host.on_events = [&](int) { host.list.resize(1); };
    EXPECT_EQ(engine.run(host).saved, 1);
}

TEST_F(BatchEngine, EachOverwriteAnswerDoesWhatItSays) {
    const std::string names[] = {"yes", "cancel", "no", "nocancel"};
    host.chosen.format = IMGFMT_PNG;
    for (const auto& n : names) {
        host.list.push_back(source(n + ".bmp"));
        test::write_bytes(dir.file(n + ".png"), {'o', 'l', 'd'});
    }
    host.answers = {overwrite_answer::yes, overwrite_answer::cancel, overwrite_answer::no,
                    overwrite_answer::no};
    host.save_ok = true;
    host.save_path = dir.file("other.bmp");
    host.save_format = IMGFMT_BMP;
    host.on_events = [&](int n) {
        if (n == 7) host.save_ok = false;  // the last file's dialog is cancelled
    };
    const auto s = engine.run(host);
    EXPECT_EQ(s.saved, 2);
    EXPECT_EQ(s.kept, 2);
    EXPECT_EQ(host.asked.size(), 4u);
    EXPECT_NE(test::read_bytes(dir.file("yes.png")).size(), 3u);
    EXPECT_EQ(test::read_bytes(dir.file("cancel.png")).size(), 3u);
    EXPECT_EQ(test::read_bytes(dir.file("no.png")).size(), 3u);
    EXPECT_EQ(test::read_bytes(dir.file("nocancel.png")).size(), 3u);
    EXPECT_EQ(image_info(dir.file("other.bmp")).format, IMGFMT_BMP);
    // The dialog opens on the output path with the format's filter entry.
    EXPECT_EQ(host.save_dialogs[0], dir.path().string() + "/no.png|2");
    EXPECT_EQ(host.reports[2].output, dir.file("other.bmp"));
    EXPECT_EQ(host.reports[3].result, batch_result::save_cancelled);

    // Without confirmation the file is replaced without a question.
    host = scripted_host{};
    host.list = {dir.file("cancel.bmp")};
    host.chosen = {0, IMGFMT_PNG, false, "", false};
    engine.run(host);
    EXPECT_TRUE(host.asked.empty());
    EXPECT_NE(test::read_bytes(dir.file("cancel.png")).size(), 3u);
}

TEST_F(BatchEngine, TheDefaultOverwriteQuestionGoesThroughTheUiPort) {
    host.list = {source("a.bmp")};
    test::write_bytes(dir.file("a.png"), {'o', 'l', 'd'});
    host.chosen.format = IMGFMT_PNG;
    engine.run(host);  // the recording port answers Cancel
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              dir.path().string() +
                  "/a.png\n同じ名前の파일  があります。上書きしますか？\nYes:上書き  "
                  "No:別名で保存  Cancel:保存しない");
    EXPECT_EQ(ui.messages[0].caption, "上書き確認");
    EXPECT_EQ(ui.messages[0].buttons, msg_buttons::yes_no_cancel);
    EXPECT_EQ(test::read_bytes(dir.file("a.png")).size(), 3u);
}

TEST_F(BatchEngine, UnreadableSourcesAndUnwritableOutputsAreReportedAndTheRunGoesOn) {
    const std::string junk = dir.file("junk.bmp");
    test::write_bytes(junk, {'B', 'M', 1, 2});
    const std::string blocked = source("blocked.bmp");
    fs::create_directory(dir.file("blocked.png"));  // a folder where the output should go
    const std::string good = source("good.bmp");
    auto odd = test::make_photo_like(6, 6, 3);  // DXT needs multiples of 4
    std::string error;
    ASSERT_EQ(odd.file_save_bmp(dir.file("odd.bmp"), error), 0);
    host.list = {junk, blocked, dir.file("odd.bmp"), good};
    host.chosen = {0, IMGFMT_PNG, false, "", false};
    auto s = engine.run(host);
    EXPECT_EQ(s.failed, 2);
    EXPECT_EQ(s.saved, 2);  // odd.png and good.png
    EXPECT_EQ(host.reports[0].result, batch_result::load_failed);
    EXPECT_EQ(host.reports[1].result, batch_result::save_failed);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text.rfind(junk + "\n", 0), 0u);
    EXPECT_NE(ui.messages[1].text.find("ファイルの保存に失敗しました。"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir.file("good.png")));

    // A refused operation or DDS size is reported, saves nothing and counts as failed.
    host = scripted_host{};
    host.list = {dir.file("odd.bmp"), good};
    host.chosen = {0, IMGFMT_DDS, false, "", false};
    settings().dds_format = 3;
    s = engine.run(host);
    EXPECT_EQ(s.failed, 1);
    EXPECT_FALSE(fs::exists(dir.file("odd.dds")));
    EXPECT_TRUE(fs::exists(dir.file("good.dds")));
    expect_clean_end(1);
}

}  // namespace
}  // namespace mevra
