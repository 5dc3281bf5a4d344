#include "platform/pending_temp_files.h"

#include <unistd.h>

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>

namespace mevra {
namespace {

// A slot is claimed by one thread (0 → 1), filled, then published (1 → 2);
// the signal handler reads only published slots.
enum slot_state : int { slot_free = 0, slot_filling = 1, slot_published = 2 };

struct pending_slot {
    std::atomic<int> state{slot_free};
    char path[PATH_MAX];
};

pending_slot slots[pending_temp_capacity];

void end_with_signal(int sig) {
    remove_pending_temp_files();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

}  // namespace

void remember_temp_file(const std::string& path) {
    if (path.size() >= PATH_MAX) return;
    for (pending_slot& s : slots) {
        int expected = slot_free;
        if (!s.state.compare_exchange_strong(expected, slot_filling)) continue;
        std::memcpy(s.path, path.c_str(), path.size() + 1);
        s.state.store(slot_published);
        return;
    }
}

void forget_temp_file(const std::string& path) {
    for (pending_slot& s : slots) {
        if (s.state.load() != slot_published || path != s.path) continue;
        int expected = slot_published;
        if (s.state.compare_exchange_strong(expected, slot_filling)) {
            s.state.store(slot_free);
            return;
        }
    }
}

void remove_pending_temp_files() {
    for (pending_slot& s : slots)
        if (s.state.load() == slot_published) ::unlink(s.path);
}

void remove_temp_files_on_stop_signals() {
    struct sigaction on_stop {};
    on_stop.sa_handler = end_with_signal;
    sigemptyset(&on_stop.sa_mask);
    ::sigaction(SIGINT, &on_stop, nullptr);
    ::sigaction(SIGTERM, &on_stop, nullptr);
}

}  // namespace mevra
