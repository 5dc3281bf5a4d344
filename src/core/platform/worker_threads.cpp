#include "platform/worker_threads.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace mevra {

namespace {
std::atomic<unsigned> thread_cap{0};  // 0: no cap
}

unsigned worker_threads() {
    const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
    const unsigned cap = thread_cap.load(std::memory_order_relaxed);
    return cap == 0 ? processors : std::min(processors, cap);
}

void cap_worker_threads(unsigned n) {
    thread_cap.store(std::max(1u, n), std::memory_order_relaxed);
}

}  // namespace mevra
