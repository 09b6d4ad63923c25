// Runs independent jobs on several threads at once: each job on exactly one thread, so jobs
// that touch only their own data give the same bits as one thread running them in order.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kq {

// The machine's cores (at least 1).
int MachineThreads();

// Calls job(0) ... job(count - 1), on at most `threads` threads (the caller's one of them);
// returns when every call has.
void RunInParallel(int count, int threads, const std::function<void(int)>& job);

// Independent jobs worked out on helper threads while the caller's thread uses their results
// in an order of its own: it waits only for the job it needs next, and takes jobs itself
// rather than wait idle. Each job runs on exactly one thread, so the bits are one thread's.
class OrderedJobs {
public:
    // Starts up to threads - 1 helpers on job(0) ... job(count - 1).
    OrderedJobs(int count, int threads, std::function<void(int)> job);
    // Waits for the jobs under way; those not yet taken never run, and a failure not yet
    // reported is dropped (Finish runs and reports them all).
    ~OrderedJobs();
    OrderedJobs(const OrderedJobs&) = delete;
    OrderedJobs& operator=(const OrderedJobs&) = delete;

    // Returns once job k has run, running jobs not yet taken on this thread meanwhile; throws
    // the first failure of any job instead.
    void Await(int k);
    // Every job run; throws the first failure of any job.
    void Finish();

private:
    bool RunNext();  // false when every job is taken
    void Rethrow();

    std::function<void(int)> job_;
    int count_;
    std::atomic<int> next_{0};
    std::unique_ptr<std::atomic<bool>[]> done_;
    std::mutex lock_;  // over failure_, and the waits for done_
    std::condition_variable changed_;
    std::exception_ptr failure_;
    std::vector<std::jthread> helpers_;
};

}  // namespace kq
