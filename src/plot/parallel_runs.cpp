#include "plot/parallel_runs.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace kq {

int MachineThreads() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

void RunInParallel(int count, int threads, const std::function<void(int)>& job) {
    const int helpers = std::min(std::max(threads, 1), count) - 1;
    if (helpers <= 0) {
        for (int i = 0; i < count; ++i) job(i);
        return;
    }
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int i = next++; i < count; i = next++) job(i);
    };
    std::vector<std::jthread> pool;
    pool.reserve(static_cast<std::size_t>(helpers));
    for (int k = 0; k < helpers; ++k) pool.emplace_back(work);
    work();
}

}  // namespace kq
