#pragma once
// Splits [0, n) into contiguous chunks run on a few threads. Only for work
// whose items are independent, so the result never depends on the split.
#include <algorithm>
#include <cstddef>
#include <thread>
#include <vector>

#include "platform/worker_threads.h"

namespace mevra {

template <class F>
void parallel_for(size_t n, size_t min_chunk, F&& body) {
    const size_t hw = worker_threads();
    const size_t workers =
        std::min<size_t>({hw, 8, std::max<size_t>(1, n / std::max<size_t>(min_chunk, 1))});
    if (workers <= 1) {
        body(size_t{0}, n);
        return;
    }
    std::vector<std::thread> threads;
    const size_t chunk = (n + workers - 1) / workers;
    for (size_t w = 1; w < workers; ++w) {
        const size_t begin = std::min(n, w * chunk), end = std::min(n, begin + chunk);
        threads.emplace_back([&body, begin, end] { body(begin, end); });
    }
    body(size_t{0}, std::min(n, chunk));
    for (auto& t : threads)
        t.join();
}

}  // namespace mevra
