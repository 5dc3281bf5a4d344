#pragma once
// Splits [0, n) into contiguous chunks run on a few threads. Only for work
// whose items are independent, so the result never depends on the split.
#include <algorithm>
#include <cstddef>
#include <thread>
#include <utility>
#include <vector>

#include "platform/thread_start.h"
#include "platform/worker_threads.h"

namespace mevra {

// On at most `max_threads` threads (and at most 8).
template <class F>
void parallel_for_on(size_t max_threads, size_t n, size_t min_chunk, F&& body) {
    const size_t workers =
        std::min<size_t>({max_threads, 8, std::max<size_t>(1, n / std::max<size_t>(min_chunk, 1))});
    if (workers <= 1) {
        body(size_t{0}, n);
        return;
    }
    std::vector<std::thread> threads;
    const size_t chunk = (n + workers - 1) / workers;
    auto chunk_body = [&body, chunk, n](size_t w) {
        const size_t begin = std::min(n, w * chunk);
        body(begin, std::min(n, begin + chunk));
    };
    // A thread that cannot be started (out of threads or memory) leaves its
    // chunk, and every later one, to the calling thread.
    threads.reserve(workers - 1);
    size_t started = 1;
    for (; started < workers; ++started) {
        std::thread t;
        if (!start_thread(t, chunk_body, started)) break;
        threads.push_back(std::move(t));
    }
    chunk_body(0);
    for (size_t w = started; w < workers; ++w)
        chunk_body(w);
    for (auto& t : threads)
        t.join();
}

// On as many threads as worker_threads() allows.
template <class F>
void parallel_for(size_t n, size_t min_chunk, F&& body) {
    parallel_for_on(worker_threads(), n, min_chunk, std::forward<F>(body));
}

}  // namespace mevra
