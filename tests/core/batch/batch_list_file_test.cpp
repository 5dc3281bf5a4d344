#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "batch/batch_list_file.h"
#include "support/test_support.h"

namespace mevra {
namespace {

namespace fs = std::filesystem;
using lines = std::vector<std::string>;

std::vector<uint8_t> bytes_of(const std::string& s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}

TEST(BatchListFile, WritesCrLfWithoutBomAndReadsBackEmptyLinesToo) {
    test::temp_dir dir;
    const std::string path = dir.file("batch.lst");
    const lines list = {"/a/b.png", "", "/사진/한.bmp", ""};
    ASSERT_EQ(save_batch_list(path, list), 0);
    EXPECT_EQ(test::read_bytes(path), bytes_of("/a/b.png\r\n\r\n/사진/한.bmp\r\n\r\n"));
    lines back = {"stale"};
    ASSERT_EQ(load_batch_list(path, back), 0);
    EXPECT_EQ(back, list);
}

TEST(BatchListFile, ReadsAnyLineEndAndIgnoresAByteOrderMark) {
    EXPECT_EQ(batch_list_lines("a\nb\rc\r\nd"), (lines{"a", "b", "c", "d"}));
    EXPECT_EQ(batch_list_lines("a\n\n"), (lines{"a", ""}));
    EXPECT_EQ(batch_list_lines("\r\n"), (lines{""}));
    EXPECT_EQ(batch_list_lines(""), lines{});
    EXPECT_EQ(batch_list_lines("\xEF\xBB\xBFx\r\n"), (lines{"x"}));
}

TEST(BatchListFile, AnEmptyListDeletesTheFileAndAMissingFileReadsAsNone) {
    test::temp_dir dir;
    const std::string path = dir.file("batch.lst");
    ASSERT_EQ(save_batch_list(path, {"x"}), 0);
    ASSERT_EQ(save_batch_list(path, {}), 0);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(save_batch_list(path, {}), 0);  // nothing to delete is no failure
    lines back = {"stale"};
    std::string error;
    EXPECT_EQ(load_batch_list(path, back, &error), -1);
    EXPECT_TRUE(back.empty());
    EXPECT_FALSE(error.empty());
}

TEST(BatchListFile, AFailedWriteIsReportedAndKeepsNothingHalfWritten) {
    test::temp_dir dir;
    test::recording_ui ui;
    EXPECT_EQ(save_batch_list(dir.file("no/such/folder/batch.lst"), {"x"}), -1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "エラー");
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(BatchListFile, TheDefaultFileLivesInTheSettingsFolder) {
    test::temp_dir dir;
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    EXPECT_EQ(batch_list_path(), dir.file("mevra/batch.lst"));
    ASSERT_EQ(save_batch_list(lines{"p"}), 0);
    lines back;
    EXPECT_EQ(load_batch_list(back), 0);
    EXPECT_EQ(back, lines{"p"});
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace mevra
