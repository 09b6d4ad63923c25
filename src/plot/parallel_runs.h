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

}  // namespace kq
