#pragma once
// A pool of worker threads, made once and reused, that runs numbered tasks of one job at a time.
// Workers between jobs sleep: they never take a core from the thread that submits the work, and an
// idle program's pool uses no CPU.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace pipeline {

// One round of a wait that watches memory another core will soon write.
inline void PauseCpu() {
#if defined(__x86_64__) || defined(__i386__)
    _mm_pause();
#else
    std::this_thread::yield();
#endif
}

class WorkerPool {
public:
    // The pool of the process, sized when first used: as many threads as the CPUs the process may
    // use (affinity mask, cgroup quota), or MORVATH_THREADS, the caller included.
    static WorkerPool& Instance();

    ~WorkerPool();
    int Size() const { return static_cast<int>(threads_.size()) + 1; }

    // Runs task(0) .. task(taskCount - 1) on at most `threads` threads (the caller is one of them) and
    // returns when all are done. Tasks are handed out in order; one thread may run several.
    template <typename Fn>
    void Run(int taskCount, int threads, Fn& task) {
        RunErased(taskCount, threads, [](void* fn, int i) { (*static_cast<Fn*>(fn))(i); }, &task);
    }

private:
    using Trampoline = void (*)(void*, int);
    struct Job {
        Trampoline call = nullptr;
        void* fn = nullptr;
        int taskCount = 0;
        std::atomic<int> next{0};
    };

    explicit WorkerPool(int workers);
    void RunErased(int taskCount, int threads, Trampoline call, void* fn);
    void WorkerLoop(int id);
    static void Work(Job& job);

    std::vector<std::thread> threads_;
    std::mutex runMutex_;                 // one job at a time, whoever calls
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    // generation << 32 | closed << 16 | limit << 8 | joined. Workers join the current job while it is
    // open and below its limit; the caller closes it when its own tasks run out and waits only for
    // the workers that joined, so a worker the system does not schedule in time delays nothing.
    std::atomic<uint64_t> slot_{0};
    std::atomic<Job*> job_{nullptr};
    std::atomic<int> sleepers_{0};
    // Workers that joined the current job and are done with it (here, not in the job on the caller's
    // stack: a worker touches it after the caller may have returned).
    std::atomic<int> left_{0};
    std::atomic<bool> stop_{false};
};

}  // namespace pipeline
