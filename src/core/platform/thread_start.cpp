#include "platform/thread_start.h"

#include <atomic>

namespace mevra {
namespace {
std::atomic<bool> refused{false};
}

bool thread_starts_refused() {
    return refused.load(std::memory_order_relaxed);
}

void refuse_thread_starts(bool refuse) {
    refused.store(refuse, std::memory_order_relaxed);
}

}  // namespace mevra
