#include "cli/parallel_convert.h"

#include <poll.h>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "batch/batch_engine.h"
#include "platform/worker_threads.h"

namespace mevra::cli {
namespace {

// The engine in a worker sees a list of one entry; index and count are put
// back to the whole list's before the report reaches the real host, so the
// lines read "[7/20] ..." as they would in one process.
class one_entry_host final : public batch_host {
  public:
    one_entry_host(cli_batch_host& host, int index) : host_(host), index_(index) {}

    int entry_count() override { return 1; }
    std::string entry(int) override { return host_.entry(index_); }
    batch_choices choices() override { return host_.choices(); }
    void set_progress(int, int) override {}
    void process_events() override {}
    bool option_dialog(int operation) override { return host_.option_dialog(operation); }
    overwrite_answer ask_overwrite(const std::string& path) override {
        return host_.ask_overwrite(path);
    }
    bool save_dialog(const std::string& path, int format, std::string& chosen_path,
                     int& chosen_format) override {
        return host_.save_dialog(path, format, chosen_path, chosen_format);
    }
    void exclamation() override {}
    void file_done(const batch_file_report& report) override {
        batch_file_report whole = report;
        whole.index = index_;
        whole.count = host_.entry_count();
        host_.file_done(whole);
    }
    std::string output_path(int, const std::string& source, const std::string& by_rule) override {
        return host_.output_path(index_, source, by_rule);
    }

  private:
    cli_batch_host& host_;
    int index_;
};

bool write_all(int fd, const void* data, size_t size) {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Set in a worker by SIGINT or SIGTERM: it stops after the file in hand, so
// no save is cut off halfway and no temporary file is left beside an output.
volatile std::sig_atomic_t stop_requested = 0;

void request_stop(int) {
    stop_requested = 1;
}

// False at the end of the stream, on an error or once a worker is told to stop.
bool read_all(int fd, void* data, size_t size) {
    auto* p = static_cast<char*>(data);
    while (size > 0) {
        if (stop_requested) return false;
        const ssize_t n = ::read(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// What a worker sends back for one file.
struct file_header {
    int32_t index;
    int32_t failures;
    uint64_t out_size;
    uint64_t err_size;
};

struct file_result {
    int failures = 0;
    std::string out, err;
};

// Prints a file's lines as its worker wrote them, its standard output first;
// returns its failures.
int print_result(const file_result& r) {
    std::fwrite(r.out.data(), 1, r.out.size(), stdout);
    std::fflush(stdout);
    std::fwrite(r.err.data(), 1, r.err.size(), stderr);
    return r.failures;
}

// Everything written to `fd` since it was last emptied; empties it again.
std::string take_captured(int fd) {
    std::string text;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    if (size > 0) {
        text.resize(static_cast<size_t>(size));
        if (::pread(fd, text.data(), text.size(), 0) != size) text.clear();
    }
    if (::ftruncate(fd, 0) != 0) text += "(output of this file was cut short)\n";
    ::lseek(fd, 0, SEEK_SET);
    return text;
}

// A worker: converts the files whose indices arrive on `tasks` until it is
// closed, with its standard output and error caught per file and sent back
// on `results`. Never returns.
// An unnamed scratch file in $TMPDIR (else /tmp); -1 when none can be made.
int scratch_file() {
    const char* dir = std::getenv("TMPDIR");
    std::string name = (dir && *dir) ? dir : "/tmp";
    name += "/mevra-cli-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd >= 0) ::unlink(name.c_str());
    return fd;
}

[[noreturn]] void worker_main(cli_batch_host& host, int tasks, int results) {
    // A parent that is stopped or killed takes its workers with it, each
    // after the file in hand.
    struct sigaction stop {};
    stop.sa_handler = request_stop;  // no SA_RESTART: a waiting read returns
    sigemptyset(&stop.sa_mask);
    ::sigaction(SIGINT, &stop, nullptr);
    ::sigaction(SIGTERM, &stop, nullptr);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() == 1) ::_exit(5);
    const int out_fd = scratch_file();
    const int err_fd = scratch_file();
    if (out_fd < 0 || err_fd < 0 || ::dup2(out_fd, STDOUT_FILENO) < 0 ||
        ::dup2(err_fd, STDERR_FILENO) < 0)
        ::_exit(3);
    int32_t index = 0;
    while (read_all(tasks, &index, sizeof index)) {
        const int failures_before = host.failures();
        one_entry_host one(host, index);
        batch_engine engine;
        engine.run(one);
        std::fflush(stdout);
        std::fflush(stderr);
        const std::string out = take_captured(STDOUT_FILENO);
        const std::string err = take_captured(STDERR_FILENO);
        const file_header header{index, host.failures() - failures_before, out.size(), err.size()};
        if (!write_all(results, &header, sizeof header) ||
            !write_all(results, out.data(), out.size()) ||
            !write_all(results, err.data(), err.size()))
            ::_exit(4);
    }
    // _exit: the parent's cleanup (scratch folders, buffers) is not ours to run.
    ::_exit(0);
}

struct worker {
    pid_t pid = -1;
    int tasks = -1;    // parent writes indices
    int results = -1;  // parent reads results
    int busy = -1;     // index in work, -1 when idle
};

void close_fd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// Forks one worker; false when no process or pipe could be had.
bool start_worker(cli_batch_host& host, std::vector<worker>& running) {
    int tasks[2], results[2];
    if (::pipe(tasks) != 0) return false;
    if (::pipe(results) != 0) {
        ::close(tasks[0]);
        ::close(tasks[1]);
        return false;
    }
    std::fflush(nullptr);  // nothing buffered may be printed twice
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Other workers' pipe ends must not stay open here, or they would
        // never see the end of their task stream.
        for (auto& w : running) {
            close_fd(w.tasks);
            close_fd(w.results);
        }
        ::close(tasks[1]);
        ::close(results[0]);
        worker_main(host, tasks[0], results[1]);
    }
    ::close(tasks[0]);
    ::close(results[1]);
    if (pid < 0) {
        ::close(tasks[1]);
        ::close(results[0]);
        return false;
    }
    running.push_back({pid, tasks[1], results[0], -1});
    return true;
}

// Waits for a worker that has gone and tells how it ended.
std::string reap_worker(worker& w) {
    close_fd(w.tasks);
    close_fd(w.results);
    int status = 0;
    pid_t got = 0;
    while ((got = ::waitpid(w.pid, &status, 0)) < 0 && errno == EINTR) {
    }
    w.pid = -1;
    if (got > 0 && WIFSIGNALED(status)) {
        const char* name = ::sigabbrev_np(WTERMSIG(status));
        return "was killed by " +
               (name ? "SIG" + std::string(name) : "signal " + std::to_string(WTERMSIG(status)));
    }
    if (got > 0 && WIFEXITED(status))
        return "ended unexpectedly (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
    return "ended unexpectedly";
}

// Whether two entries of the list would write the same file. The workers
// could not settle that between them as one process does (the second asks,
// replaces or fails in list order), so such a list runs in this process.
bool outputs_collide(cli_batch_host& host) {
    namespace fs = std::filesystem;
    const batch_choices choices = host.choices();
    std::set<std::string> seen;
    for (int i = 0; i < host.entry_count(); ++i) {
        const std::string source = host.entry(i);
        const std::string path =
            host.output_path(i, source, batch_output_path(source, choices));
        std::error_code ec;
        fs::path full = fs::weakly_canonical(fs::path(path), ec);
        if (ec) full = fs::absolute(fs::path(path), ec).lexically_normal();
        if (!seen.insert(full.string()).second) return true;
    }
    return false;
}

// Hands the next index to an idle worker, or tells it there is no more work.
void give_work(worker& w, int& next, int count) {
    if (next < count) {
        const int32_t index = next;
        if (write_all(w.tasks, &index, sizeof index)) {
            w.busy = next++;
            return;
        }
    }
    close_fd(w.tasks);
}

// Reads one result; false when the worker has gone.
bool receive(worker& w, std::vector<std::optional<file_result>>& done) {
    file_header h{};
    if (!read_all(w.results, &h, sizeof h) || h.index != w.busy) return false;
    file_result r;
    r.failures = h.failures;
    try {
        r.out.resize(h.out_size);
        r.err.resize(h.err_size);
    } catch (const std::exception&) {
        return false;
    }
    if (!read_all(w.results, r.out.data(), r.out.size()) ||
        !read_all(w.results, r.err.data(), r.err.size()))
        return false;
    done[static_cast<size_t>(h.index)] = std::move(r);
    w.busy = -1;
    return true;
}

}  // namespace

int run_on_workers(cli_batch_host& host, int jobs) {
    const int count = host.entry_count();
    // A worker that died must not take the parent with it when it is handed
    // its next file: the write then fails with EPIPE instead.
    struct sigpipe_ignored {
        void (*before)(int) = std::signal(SIGPIPE, SIG_IGN);
        ~sigpipe_ignored() { std::signal(SIGPIPE, before); }
    } ignore_sigpipe;
    // The workers share the processors: each file gets its share of threads,
    // so N files at once do not each spread over every processor.
    cap_worker_threads(worker_threads() / static_cast<unsigned>(std::min(jobs, count)));
    std::vector<worker> workers;
    if (!outputs_collide(host))
        for (int k = 0; k < jobs && k < count; ++k)
            if (!start_worker(host, workers)) break;
    if (workers.empty()) {
        // No process to be had, or entries that share an output: the files
        // are converted one at a time, exactly as with -j 1.
        std::signal(SIGPIPE, ignore_sigpipe.before);
        batch_engine engine;
        engine.run(host);
        return host.failures();
    }

    std::vector<std::optional<file_result>> done(static_cast<size_t>(count));
    int next = 0, printed = 0, failures = 0, lost_workers = 0;
    for (auto& w : workers)
        give_work(w, next, count);
    for (;;) {
        std::vector<pollfd> waiting;
        std::vector<worker*> owners;
        for (auto& w : workers)
            if (w.busy >= 0) {
                waiting.push_back({w.results, POLLIN, 0});
                owners.push_back(&w);
            }
        if (waiting.empty()) break;
        if (::poll(waiting.data(), waiting.size(), -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (size_t k = 0; k < waiting.size(); ++k) {
            if (waiting[k].revents == 0) continue;
            worker& w = *owners[k];
            if (receive(w, done)) {
                give_work(w, next, count);
                continue;
            }
            // The worker died on this file (a crash, or it was killed).
            file_result lost;
            lost.failures = 1;
            lost.err = host.entry(w.busy) + ": the worker process converting it " +
                       reap_worker(w) + "\n";
            done[static_cast<size_t>(w.busy)] = std::move(lost);
            w.busy = -1;
            ++lost_workers;
        }
        // A dead worker is replaced while files are left for it.
        for (; lost_workers > 0 && next < count; --lost_workers) {
            if (!start_worker(host, workers)) break;
            give_work(workers.back(), next, count);
        }
        lost_workers = 0;
        // Whatever is complete at the head of the list is printed now.
        while (printed < count && done[static_cast<size_t>(printed)]) {
            file_result& r = *done[static_cast<size_t>(printed)];
            failures += print_result(r);
            r = {};
            ++printed;
        }
    }
    // Files no worker got to (every worker died) count as failures too.
    for (; printed < count; ++printed) {
        std::optional<file_result>& r = done[static_cast<size_t>(printed)];
        if (!r)
            r = file_result{1, "",
                            host.entry(printed) + ": not converted: no worker process was left\n"};
        failures += print_result(*r);
    }
    std::fflush(stdout);
    for (auto& w : workers) {
        close_fd(w.tasks);
        close_fd(w.results);
        if (w.pid > 0) reap_worker(w);
    }
    return failures;
}

}  // namespace mevra::cli
