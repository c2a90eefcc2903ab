#include "queue/workers.h"

#include <algorithm>

#include "queue/cpu_limits.h"

namespace pipeline {

namespace {
// The caller watches this many rounds for the workers of its job to finish before it sleeps too.
constexpr int kFinishSpins = 2048;
constexpr uint64_t kJoinedMask = 0xFF, kClosed = 1u << 16;

uint32_t GenerationOf(uint64_t slot) { return static_cast<uint32_t>(slot >> 32); }
}  // namespace

WorkerPool& WorkerPool::Instance() {
    static WorkerPool pool(PoolThreadsForProcess() - 1);
    return pool;
}

WorkerPool::WorkerPool(int workers) {
    for (int i = 0; i < workers; ++i) threads_.emplace_back([this, i] { WorkerLoop(i); });
}

WorkerPool::~WorkerPool() {
    stop_.store(true);
    {
        std::lock_guard<std::mutex> lock(wakeMutex_);
        slot_.store((static_cast<uint64_t>(GenerationOf(slot_.load()) + 1) << 32) | kClosed);
    }
    wake_.notify_all();
    for (auto& t : threads_) t.join();
}

void WorkerPool::Work(Job& job) {
    for (int i = job.next.fetch_add(1); i < job.taskCount; i = job.next.fetch_add(1)) job.call(job.fn, i);
}

void WorkerPool::RunErased(int taskCount, int threads, Trampoline call, void* fn) {
    if (taskCount <= 0) return;
    const int limit = std::min({threads - 1, Size() - 1, taskCount - 1, 255});
    if (limit <= 0) {
        for (int i = 0; i < taskCount; ++i) call(fn, i);
        return;
    }
    std::lock_guard<std::mutex> runLock(runMutex_);
    Job job;
    job.call = call;
    job.fn = fn;
    job.taskCount = taskCount;
    job_.store(&job, std::memory_order_relaxed);
    left_.store(0, std::memory_order_relaxed);
    const uint64_t generation = GenerationOf(slot_.load()) + 1;
    slot_.store(generation << 32 | static_cast<uint64_t>(limit) << 8);
    if (sleepers_.load() > 0) {
        { std::lock_guard<std::mutex> lock(wakeMutex_); }
        wake_.notify_all();
    }
    Work(job);
    uint64_t slot = slot_.load();
    while (!slot_.compare_exchange_weak(slot, slot | kClosed)) {}
    const int joined = static_cast<int>(slot & kJoinedMask);
    // The job lives on this stack: wait for the workers that joined it, briefly watching (they are
    // finishing their last task), then asleep.
    for (int spins = 0, done; (done = left_.load(std::memory_order_acquire)) < joined; ++spins) {
        if (spins < kFinishSpins)
            PauseCpu();
        else
            left_.wait(done, std::memory_order_acquire);
    }
}

void WorkerPool::WorkerLoop(int) {
    uint32_t seen = 0;  // the generation before any job, even if this thread starts late
    for (;;) {
        uint64_t slot = slot_.load(std::memory_order_acquire);
        if (GenerationOf(slot) == seen) {
            // No new job: sleep until the caller publishes one.
            std::unique_lock<std::mutex> lock(wakeMutex_);
            sleepers_.fetch_add(1);
            wake_.wait(lock, [&] { return GenerationOf(slot_.load()) != seen; });
            sleepers_.fetch_sub(1);
            slot = slot_.load(std::memory_order_acquire);
        }
        seen = GenerationOf(slot);
        if (stop_.load()) return;
        bool joined = false;
        while (!(slot & kClosed) && GenerationOf(slot) == seen && (slot & kJoinedMask) < ((slot >> 8) & 0xFF)) {
            if (slot_.compare_exchange_weak(slot, slot + 1)) {
                joined = true;
                break;
            }
        }
        if (!joined) continue;
        Job& job = *job_.load(std::memory_order_relaxed);
        Work(job);
        left_.fetch_add(1, std::memory_order_release);
        left_.notify_one();
    }
}

}  // namespace pipeline
