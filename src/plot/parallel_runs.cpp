#include "plot/parallel_runs.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace kq {
namespace {

// A new thread computes long double with the full 64-bit significand, as the caller's does:
// some systems start threads with the x87 rounding to 53 bits.
void UseExtendedPrecision() {
#if defined(__i386__) || defined(__x86_64__)
    std::uint16_t control = 0;
    asm volatile("fnstcw %0" : "=m"(control));
    control |= 0x300;
    asm volatile("fldcw %0" : : "m"(control));
#endif
}

}  // namespace

int MachineThreads() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

void RunInParallel(int count, int threads, const std::function<void(int)>& job) {
    RunInParallel(count, threads, job, {});
}

void RunInParallel(int count, int threads, const std::function<void(int)>& job, const std::function<void()>& meanwhile) {
    const int wanted = std::max(threads, 1);
    // While the caller is busy with `meanwhile`, as many helpers as there are jobs start.
    const int helpers = meanwhile && wanted > 1 ? std::min(wanted - 1, count) : std::min(wanted, count) - 1;
    std::atomic<int> next{0};
    // A job that throws (out of memory, say) stops the others taking new jobs; the caller
    // gets the first failure once every thread is done.
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto fail = [&] {
        const std::lock_guard lock(failureLock);
        if (!failure) failure = std::current_exception();
    };
    const auto work = [&] {
        try {
            for (int i = next++; i < count; i = next++) job(i);
        } catch (...) {
            next = count;
            fail();
        }
    };
    {
        std::vector<std::jthread> pool;
        pool.reserve(static_cast<std::size_t>(std::max(helpers, 0)));
        for (int k = 0; k < helpers; ++k)
            pool.emplace_back([&work] {
                UseExtendedPrecision();
                work();
            });
        if (meanwhile) {
            try {
                meanwhile();
            } catch (...) {
                fail();
            }
        }
        work();
    }
    if (failure) std::rethrow_exception(failure);
}

}  // namespace kq
