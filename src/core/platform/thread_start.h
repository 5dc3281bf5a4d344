#pragma once
// Starting a helper thread that may not be had. Every caller keeps working on
// its own thread when a start fails (out of threads or memory), so a failed
// start costs speed, never a result.
#include <system_error>
#include <thread>
#include <utility>

namespace mevra {

// Whether thread starts are being refused on purpose (see refuse_thread_starts).
bool thread_starts_refused();
// Makes every later start_thread fail until called with false: the tests use
// it to take each caller down its single-thread road.
void refuse_thread_starts(bool refuse);

// Starts `t` running f(args...); false when no thread could be started.
template <class F, class... Args>
bool start_thread(std::thread& t, F&& f, Args&&... args) {
    if (thread_starts_refused()) return false;
    try {
        t = std::thread(std::forward<F>(f), std::forward<Args>(args)...);
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

}  // namespace mevra
