// mevra-cli stopped by a signal, or losing a worker: no hidden temporary file
// is left beside an output, an old output survives, and a dead worker's file
// is reported by the signal's name while the others are converted.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "support/avi_test_files.h"
#include "support/test_support.h"

namespace mevra {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Starts mevra-cli with its output going to `log`.
pid_t start_cli(std::vector<std::string> args, const std::string& log) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDOUT_FILENO);
        ::dup2(fd, STDERR_FILENO);
        std::vector<char*> argv{std::getenv("MEVRA_CLI")};
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

int wait_for(pid_t pid) {
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid ? status : -1;
}

// Waits (up to 60 s) until inotify reports a hidden file created.
bool hidden_file_appears(int inotify_fd) {
    pollfd p{inotify_fd, POLLIN, 0};
    alignas(inotify_event) char buf[4096];
    while (::poll(&p, 1, 60000) > 0)
        for (ssize_t n = ::read(inotify_fd, buf, sizeof buf), at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
            if (e->len > 0 && e->name[0] == '.') return true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
    return false;
}

long hidden_files(const fs::path& folder) {
    return std::count_if(fs::directory_iterator(folder), {},
                         [](const auto& e) { return e.path().filename().string()[0] == '.'; });
}

std::string text_of(const std::string& path) {
    return (std::ostringstream() << std::ifstream(path).rdbuf()).str();
}

// Fields of /proc/PID/stat after the command name: state first (field 3).
std::vector<std::string> stat_fields(pid_t pid) {
    const std::string line = text_of("/proc/" + std::to_string(pid) + "/stat");
    std::istringstream rest(line.substr(std::min(line.size(), line.rfind(')') + 2)));
    return {std::istream_iterator<std::string>(rest), {}};
}

// The worker processes, once `count` are there and the first has spent a fifth
// of a second of processor time: it has a file in hand (an idle one uses none).
std::vector<pid_t> busy_workers(pid_t pid, size_t count) {
    std::vector<pid_t> kids;
    for (int i = 0; i < 3000 && kids.size() < count; ++i) {
        std::this_thread::sleep_for(10ms);
        std::ifstream in("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children");
        kids.assign(std::istream_iterator<pid_t>(in), {});
    }
    for (int i = 0; i < 6000 && !kids.empty(); ++i) {
        const auto f = stat_fields(kids[0]);
        if (f.size() < 13 || std::stol(f[11]) + std::stol(f[12]) >= ::sysconf(_SC_CLK_TCK) / 5) break;
        std::this_thread::sleep_for(10ms);
    }
    return kids;
}

TEST(CliStopSignals, InterruptedSaveLeavesNoHiddenFileAndTheOldOutput) {
    test::temp_dir dir;
    auto recipe = test::raw_recipe(24, 240);  // long enough to stop halfway
    recipe.width = recipe.height = 240;
    test::make_avi(dir.file("movie.avi"), recipe);
    const std::string out = dir.file("new.avi");
    test::write_bytes(out, {'o', 'l', 'd'});
    const int watch = ::inotify_init1(IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, dir.path().c_str(), IN_CREATE), 0);
    const pid_t pid = start_cli({"avi", "encode", dir.file("movie.avi"), out, "--codec", "mpeg4"},
                                dir.file("log"));
    ASSERT_TRUE(hidden_file_appears(watch));
    ::kill(pid, SIGINT);
    const int status = wait_for(pid);
    ::close(watch);
    // A run that finished before the signal came proves nothing either way.
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << text_of(dir.file("log"));
    EXPECT_EQ(hidden_files(dir.path()), 0);
    EXPECT_EQ(text_of(out), "old");
}

class CliWorkers : public ::testing::Test {
  protected:
    test::temp_dir dir;
    std::vector<std::string> args{"convert", "-j", "2", "--op", "reduce", "--refine", "16",
                                  "--format", "png", "--out-dir", dir.file("out")};

    // Appended, not '+': GCC 12 at -O3 misreads chained string '+' (-Wrestrict).
    static std::string picture(std::string name, int i) { return name.append(std::to_string(i)).append(".png"); }
    void SetUp() override {
        fs::create_directory(dir.file("out"));
        for (uint32_t i = 0; i < 4; ++i) {
            args.push_back(dir.file(picture("p", static_cast<int>(i))));
            std::string error;
            ASSERT_EQ(test::make_photo_like(700, 500, i + 3).file_save_png(args.back(), error), 0);
        }
    }
    bool converted(int i) { return fs::exists(dir.file(picture("out/p", i))); }
};

TEST_F(CliWorkers, AKilledWorkersFileIsNamedAndTheOthersAreConverted) {
    const pid_t pid = start_cli(args, dir.file("log"));
    const auto workers = busy_workers(pid, 2);
    ASSERT_EQ(workers.size(), 2u);
    ::kill(workers[0], SIGKILL);
    const int status = wait_for(pid);
    const std::string log = text_of(dir.file("log"));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << log;
    EXPECT_NE(log.find("p0.png: the worker process converting it was killed by SIGKILL"), log.npos) << log;
    EXPECT_TRUE(!converted(0) && converted(1) && converted(2) && converted(3));
}

TEST_F(CliWorkers, AStoppedRunStopsItsWorkersWithoutHiddenFiles) {
    const pid_t pid = start_cli(args, dir.file("log"));
    const auto workers = busy_workers(pid, 2);
    ASSERT_EQ(workers.size(), 2u);
    ::kill(pid, SIGTERM);
    const int status = wait_for(pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << text_of(dir.file("log"));
    // Each worker ends after the file in hand (gone, or a zombie), which is then whole.
    for (pid_t w : workers) {
        for (int i = 0; i < 6000 && !stat_fields(w).empty() && stat_fields(w)[0] != "Z"; ++i)
            std::this_thread::sleep_for(10ms);
        EXPECT_TRUE(stat_fields(w).empty() || stat_fields(w)[0] == "Z") << "worker " << w;
    }
    EXPECT_EQ(hidden_files(dir.file("out")), 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(!converted(i) || image_info(dir.file(picture("out/p", i))).flag == 1);
    EXPECT_FALSE(converted(2) && converted(3));
}

}  // namespace
}  // namespace mevra
