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
    // As many threads as there are jobs at most, the caller's among them.
    OrderedJobs jobs(count, std::min(std::max(threads, 1), std::max(count, 1)), job);
    jobs.Finish();
}

OrderedJobs::OrderedJobs(int count, int threads, std::function<void(int)> job)
    : job_(std::move(job)), count_(std::max(count, 0)), done_(new std::atomic<bool>[static_cast<std::size_t>(count_)]) {
    for (int k = 0; k < count_; ++k) done_[k] = false;
    const int helpers = std::min(std::max(threads, 1) - 1, count_);
    helpers_.reserve(static_cast<std::size_t>(helpers));
    for (int h = 0; h < helpers; ++h)
        helpers_.emplace_back([this] {
            UseExtendedPrecision();
            while (RunNext()) {
            }
        });
}

OrderedJobs::~OrderedJobs() {
    next_ = count_;  // after a failure on this thread, the helpers take nothing more
    helpers_.clear();  // joins them
}

bool OrderedJobs::RunNext() {
    const int k = next_++;
    if (k >= count_) return false;
    try {
        job_(k);
    } catch (...) {
        next_ = count_;
        const std::lock_guard guard(lock_);
        if (!failure_) failure_ = std::current_exception();
    }
    {
        // Marked done even when it failed, so that no one waits for it for ever.
        const std::lock_guard guard(lock_);
        done_[k] = true;
    }
    changed_.notify_all();
    return true;
}

void OrderedJobs::Rethrow() {
    const std::lock_guard guard(lock_);
    if (failure_) std::rethrow_exception(failure_);
}

void OrderedJobs::Await(int k) {
    while (!done_[k]) {
        if (RunNext()) continue;
        // Every job is taken, k by a helper: wait for it.
        std::unique_lock guard(lock_);
        changed_.wait(guard, [&] { return done_[k].load() || failure_ != nullptr; });
        break;
    }
    Rethrow();
}

void OrderedJobs::Finish() {
    while (RunNext()) {
    }
    helpers_.clear();
    Rethrow();
}

}  // namespace kq
