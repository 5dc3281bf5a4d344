// A save that cannot complete must say so once, return -1 and leave whatever
// was at the target exactly as it was, with no temporary file left behind.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "support/test_support.h"

namespace mevra {
namespace {

namespace fs = std::filesystem;

const std::vector<int> file_formats = {IMGFMT_BMP, IMGFMT_JPG, IMGFMT_PNG, IMGFMT_TIF,
                                       IMGFMT_GIF, IMGFMT_TGA, IMGFMT_DDS};
const std::vector<uint8_t> old_bytes = {'o', 'l', 'd', 0, 1, 2};

bool is_failure_report(const test::recording_ui& ui, const std::string& path) {
    const std::string head = path + "\nファイルの保存に失敗しました。\n";
    return ui.messages.size() == 1 && ui.messages[0].caption == "エラー" &&
           ui.messages[0].text.size() > head.size() && ui.messages[0].text.starts_with(head);
}

bool only_entry_is(const fs::path& dir, const std::string& name) {
    auto it = fs::directory_iterator(dir);
    return it != fs::directory_iterator() && it->path().filename() == name &&
           ++it == fs::directory_iterator();
}

// Large enough that no format fits into a few kilobytes.
image_info big_image() {
    return test::make_photo_like(300, 200, 17, true);
}

// Runs `body` in a child process (for process-wide limits and mounts) and
// returns its exit status, or -1 when it did not exit normally.
int run_in_child(const std::function<int()>& body) {
    pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST(SaveFailure, MissingFolderFileAsFolderFolderAsTargetAndEncoderError) {
    test::temp_dir dir;
    test::write_bytes(dir.file("plain"), old_bytes);
    fs::create_directory(dir.path() / "folder");
    image_info img = big_image();
    image_info empty;
    for (int format : file_formats) {
        for (const std::string& path :
             {dir.file("missing/out"), dir.file("plain/out"), dir.file("folder")}) {
            test::recording_ui ui;
            EXPECT_EQ(img.save_to_file(format, path), -1) << format << path;
            EXPECT_TRUE(is_failure_report(ui, path)) << format << path;
        }
        test::recording_ui ui;
        EXPECT_EQ(empty.save_to_file(format, dir.file("plain")), -1) << format;
        EXPECT_TRUE(is_failure_report(ui, dir.file("plain"))) << format;
    }
    EXPECT_EQ(test::read_bytes(dir.file("plain")), old_bytes);
    EXPECT_TRUE(fs::is_empty(dir.path() / "folder"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2);
}

TEST(SaveFailure, FileSizeLimitActsLikeAFullDisc) {
    test::temp_dir dir;
    image_info img = big_image();
    const std::string path = dir.file("old");
    for (int format : file_formats) {
        test::write_bytes(path, old_bytes);
        int status = run_in_child([&] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{4096, 4096};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
            test::recording_ui ui;
            if (img.save_to_file(format, path) != -1) return 11;
            return is_failure_report(ui, path) ? 0 : 12;
        });
        EXPECT_EQ(status, 0) << format;
        EXPECT_EQ(test::read_bytes(path), old_bytes) << format;
        EXPECT_TRUE(only_entry_is(dir.path(), "old")) << format;
    }
}

// A truly full disc and a read-only one: a tiny tmpfs in a private mount
// namespace. Skipped where the system does not let the test mount.
TEST(SaveFailure, FullAndReadOnlyDiscKeepTheOldFile) {
    test::temp_dir dir;
    image_info img = big_image();
    const std::string root = dir.path().string(), path = dir.file("old");
    for (unsigned long flags : {0ul, static_cast<unsigned long>(MS_REMOUNT | MS_RDONLY)}) {
        for (int format : file_formats) {
            int status = run_in_child([&] {
                if (::unshare(CLONE_NEWNS) != 0 ||
                    ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                    ::mount("tmpfs", root.c_str(), "tmpfs", 0, "size=8k") != 0) {
                    return 77;
                }
                test::write_bytes(path, old_bytes);
                if (flags && ::mount(nullptr, root.c_str(), nullptr, flags, nullptr) != 0)
                    return 77;
                test::recording_ui ui;
                if (img.save_to_file(format, path) != -1) return 21;
                if (!is_failure_report(ui, path)) return 22;
                if (test::read_bytes(path) != old_bytes) return 23;
                return only_entry_is(dir.path(), "old") ? 0 : 24;
            });
            if (status == 77) GTEST_SKIP() << "cannot mount a tmpfs here";
            EXPECT_EQ(status, 0) << format << (flags ? " read-only" : " full");
        }
    }
}

}  // namespace
}  // namespace mevra
