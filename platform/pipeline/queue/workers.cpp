#include "queue/workers.h"

#include <algorithm>
#include <chrono>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PIPELINE_PAUSE() _mm_pause()
#else
#define PIPELINE_PAUSE() std::this_thread::yield()
#endif

namespace pipeline {

namespace {
// Workers keep watching for the next job this long before they sleep: draws come in quick succession.
constexpr auto kSpinTime = std::chrono::microseconds(2000);
constexpr uint64_t kJoinedMask = 0xFF, kClosed = 1u << 16;

uint32_t generationOf(uint64_t slot) { return static_cast<uint32_t>(slot >> 32); }
} // namespace

WorkerPool& WorkerPool::instance() {
    static WorkerPool pool(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())) - 1);
    return pool;
}

WorkerPool::WorkerPool(int workers) {
    for (int i = 0; i < workers; ++i) threads_.emplace_back([this, i] { workerLoop(i); });
}

WorkerPool::~WorkerPool() {
    stop_.store(true);
    {
        std::lock_guard<std::mutex> lock(wakeMutex_);
        slot_.store((static_cast<uint64_t>(generationOf(slot_.load()) + 1) << 32) | kClosed);
    }
    wake_.notify_all();
    for (auto& t : threads_) t.join();
}

void WorkerPool::work(Job& job) {
    for (int i = job.next.fetch_add(1); i < job.taskCount; i = job.next.fetch_add(1)) job.call(job.fn, i);
}

void WorkerPool::runErased(int taskCount, int threads, Trampoline call, void* fn) {
    if (taskCount <= 0) return;
    const int limit = std::min({threads - 1, size() - 1, taskCount - 1, 255});
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
    const uint64_t generation = generationOf(slot_.load()) + 1;
    slot_.store(generation << 32 | static_cast<uint64_t>(limit) << 8);
    if (sleepers_.load() > 0) {
        { std::lock_guard<std::mutex> lock(wakeMutex_); }
        wake_.notify_all();
    }
    work(job);
    uint64_t slot = slot_.load();
    while (!slot_.compare_exchange_weak(slot, slot | kClosed)) {}
    const int joined = static_cast<int>(slot & kJoinedMask);
    // The job lives on this stack: wait for the workers that joined it.
    for (int spins = 0; job.left.load(std::memory_order_acquire) < joined; ++spins) {
        if (spins < 4096)
            PIPELINE_PAUSE();
        else
            std::this_thread::yield();
    }
}

void WorkerPool::workerLoop(int) {
    uint32_t seen = 0; // the generation before any job, even if this thread starts late
    for (;;) {
        uint64_t slot = slot_.load(std::memory_order_acquire);
        if (generationOf(slot) == seen) {
            const auto until = std::chrono::steady_clock::now() + kSpinTime;
            for (int spins = 1; generationOf(slot = slot_.load(std::memory_order_acquire)) == seen; ++spins) {
                PIPELINE_PAUSE();
                if (spins % 256 == 0 && std::chrono::steady_clock::now() > until) {
                    std::unique_lock<std::mutex> lock(wakeMutex_);
                    sleepers_.fetch_add(1);
                    wake_.wait(lock, [&] { return generationOf(slot_.load()) != seen; });
                    sleepers_.fetch_sub(1);
                }
            }
        }
        seen = generationOf(slot);
        if (stop_.load()) return;
        bool joined = false;
        while (!(slot & kClosed) && generationOf(slot) == seen && (slot & kJoinedMask) < ((slot >> 8) & 0xFF)) {
            if (slot_.compare_exchange_weak(slot, slot + 1)) {
                joined = true;
                break;
            }
        }
        if (!joined) continue;
        Job& job = *job_.load(std::memory_order_relaxed);
        work(job);
        job.left.fetch_add(1, std::memory_order_release);
    }
}

} // namespace pipeline
