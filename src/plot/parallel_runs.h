// Runs independent jobs on several threads at once: each job on exactly one thread, so jobs
// that touch only their own data give the same bits as one thread running them in order.
#pragma once

#include <functional>

namespace kq {

// The machine's cores (at least 1).
int MachineThreads();

// Calls job(0) ... job(count - 1), on at most `threads` threads (the caller's one of them);
// returns when every call has.
void RunInParallel(int count, int threads, const std::function<void(int)>& job);
// The same, the caller's thread first doing `meanwhile` while the others start on the jobs
// (with one thread, first `meanwhile`, then the jobs); a failure of either reaches the
// caller once everything is done.
void RunInParallel(int count, int threads, const std::function<void(int)>& job, const std::function<void()>& meanwhile);

}  // namespace kq
