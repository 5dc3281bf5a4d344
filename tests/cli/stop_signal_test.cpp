// mevra-cli stopped by a signal, or losing a worker: no hidden temporary file
// is left beside an output, an old output survives, and a dead worker's file
// is reported by the signal's name while the others are converted.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "support/avi_test_files.h"
#include "support/test_support.h"

namespace mevra {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Starts mevra-cli with its output going to `log`.
pid_t start_cli(const std::vector<std::string>& args, const std::string& log) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDOUT_FILENO);
        ::dup2(fd, STDERR_FILENO);
        std::vector<char*> argv{std::getenv("MEVRA_CLI")};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

int wait_for(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// Waits (up to 60 s) for a hidden file to be created in `folder`.
bool hidden_file_appears(int inotify_fd) {
    pollfd p{inotify_fd, POLLIN, 0};
    alignas(inotify_event) char buf[4096];
    while (::poll(&p, 1, 60000) > 0) {
        const ssize_t n = ::read(inotify_fd, buf, sizeof buf);
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
            if (e->len > 0 && e->name[0] == '.') return true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
    }
    return false;
}

std::vector<std::string> hidden_files(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename().string()[0] == '.') names.push_back(e.path().filename());
    return names;
}

std::vector<pid_t> children_of(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children");
    std::vector<pid_t> kids;
    for (pid_t k; in >> k;)
        kids.push_back(k);
    return kids;
}

std::vector<pid_t> wait_for_children(pid_t pid, size_t count) {
    for (int i = 0; i < 3000; ++i) {
        auto kids = children_of(pid);
        if (kids.size() >= count) return kids;
        std::this_thread::sleep_for(10ms);
    }
    return {};
}

// Gone, or a zombie nobody has reaped yet.
bool still_runs(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(in, stat)) return false;
    const size_t close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z';
}

// Processor time a process has used, in clock ticks (user plus system).
long cpu_ticks(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(in, stat)) return -1;
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long user = 0, system = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) user = std::stol(field);
        if (i == 15) system = std::stol(field);
    }
    return user + system;
}

// Waits until a worker has spent a fifth of a second converting: it has a
// file in hand (an idle worker uses no processor time).
void wait_until_busy(pid_t worker) {
    const long ticks = ::sysconf(_SC_CLK_TCK) / 5;
    for (int i = 0; i < 6000 && cpu_ticks(worker) >= 0 && cpu_ticks(worker) < ticks; ++i)
        std::this_thread::sleep_for(10ms);
}

std::string text_of(const std::string& path) {
    const auto bytes = test::read_bytes(path);
    return {bytes.begin(), bytes.end()};
}

TEST(CliStopSignals, InterruptedSaveLeavesNoHiddenFileAndTheOldOutput) {
    test::temp_dir dir;
    auto recipe = test::raw_recipe(24, 240);
    recipe.width = 320;
    recipe.height = 240;
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
    ASSERT_TRUE(WIFSIGNALED(status)) << text_of(dir.file("log"));
    EXPECT_EQ(WTERMSIG(status), SIGINT);
    EXPECT_EQ(hidden_files(dir.path()), std::vector<std::string>{});
    EXPECT_EQ(text_of(out), "old");
}

class CliWorkers : public ::testing::Test {
  protected:
    test::temp_dir dir;
    std::vector<std::string> args;

    void SetUp() override {
        args = {"convert", "-j", "2", "--op", "reduce", "--colors", "256", "--refine", "16",
                "--format", "png", "--out-dir", dir.file("out")};
        fs::create_directory(dir.file("out"));
        for (int i = 0; i < 4; ++i) {
            const std::string name = dir.file("p" + std::to_string(i) + ".png");
            std::string error;
            ASSERT_EQ(test::make_photo_like(700, 500, static_cast<uint32_t>(i + 3))
                          .file_save_png(name, error),
                      0)
                << error;
            args.push_back(name);
        }
    }
};

TEST_F(CliWorkers, AKilledWorkersFileIsNamedAndTheOthersAreConverted) {
    const pid_t pid = start_cli(args, dir.file("log"));
    const auto workers = wait_for_children(pid, 2);
    ASSERT_EQ(workers.size(), 2u);
    wait_until_busy(workers[0]);
    ::kill(workers[0], SIGKILL);
    const int status = wait_for(pid);
    const std::string log = text_of(dir.file("log"));
    ASSERT_TRUE(WIFEXITED(status)) << log;
    EXPECT_EQ(WEXITSTATUS(status), 1) << log;
    EXPECT_NE(log.find("p0.png: the worker process converting it was killed by SIGKILL"),
              std::string::npos)
        << log;
    EXPECT_FALSE(fs::exists(dir.file("out/p0.png")));
    for (int i = 1; i < 4; ++i)
        EXPECT_TRUE(fs::exists(dir.file("out/p" + std::to_string(i) + ".png"))) << i;
}

TEST_F(CliWorkers, AStoppedRunStopsItsWorkersWithoutHiddenFiles) {
    const pid_t pid = start_cli(args, dir.file("log"));
    const auto workers = wait_for_children(pid, 2);
    ASSERT_EQ(workers.size(), 2u);
    wait_until_busy(workers[0]);
    ::kill(pid, SIGTERM);
    const int status = wait_for(pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << text_of(dir.file("log"));
    // Each worker ends after the file in hand.
    for (pid_t w : workers)
        for (int i = 0; i < 6000 && still_runs(w); ++i)
            std::this_thread::sleep_for(10ms);
    for (pid_t w : workers)
        EXPECT_FALSE(still_runs(w)) << "worker " << w;
    EXPECT_EQ(hidden_files(dir.file("out")), std::vector<std::string>{});
    int converted = 0;
    for (int i = 0; i < 4; ++i) {
        const std::string name = dir.file("out/p" + std::to_string(i) + ".png");
        if (!fs::exists(name)) continue;
        ++converted;
        EXPECT_EQ(image_info(name).flag, 1) << name;
    }
    EXPECT_LT(converted, 4);
}

}  // namespace
}  // namespace mevra
