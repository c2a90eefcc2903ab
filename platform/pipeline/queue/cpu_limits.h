#pragma once
// How many threads the worker pool should have: the CPUs the process may use (its affinity mask and,
// where set, its cgroup's CPU quota), or the number MORVATH_THREADS asks for.
#include <string>

namespace pipeline {

constexpr int kMaxPoolThreads = 256;  // the caller and 255 workers

// CPUs of the calling thread's affinity mask (at least 1).
int AffinityCpus();

// The quota of a cgroup as whole CPUs, rounded up; 0 when unlimited or unreadable. cpuMax is the text
// of a cgroup v2 cpu.max file ("max 100000", "150000 100000"); the v1 form is quota and period in
// microseconds (quota -1: unlimited).
int CpusOfQuota(const std::string& cpuMax);
int CpusOfQuota(long long quotaMicroseconds, long long periodMicroseconds);

// The tightest CPU quota of the process's cgroup and its parents; 0 when there is none.
int CgroupCpus();

// The pool's size, the caller included. `setting` is MORVATH_THREADS (null when unset): a whole number
// from 1 sets the size (at most kMaxPoolThreads, with a warning above it); anything else is ignored with
// a warning and the size follows the CPUs, min(affinity, quota).
int PoolThreads(const char* setting, int affinity, int quota, std::string& warning);

// PoolThreads for this process as it runs now; warnings go to standard error.
int PoolThreadsForProcess();

}  // namespace pipeline
