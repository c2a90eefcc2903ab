// Events and waits. The sound mixer signals events from its own thread, so waits really block; one
// lock and one condition guard every event, which keeps waits on several events simple.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "kernel/handles.h"
#include "winbase.h"

namespace {

std::mutex g_mutex;
std::condition_variable g_changed;

class Event final : public kernel::KernelObject {
public:
    Event(bool manual, bool initial) : manualReset(manual), signaled(initial) {}
    const bool manualReset;
    bool signaled;  // guarded by g_mutex
};

std::shared_ptr<Event> EventFor(HANDLE handle) {
    auto event = kernel::LookupHandleAs<Event>(handle);
    if (!event) SetLastError(ERROR_INVALID_HANDLE);
    return event;
}

BOOL SetSignaled(HANDLE hEvent, bool signaled) {
    auto event = EventFor(hEvent);
    if (!event) return FALSE;
    {
        std::lock_guard lock(g_mutex);
        event->signaled = signaled;
    }
    if (signaled) g_changed.notify_all();
    return TRUE;
}

// Which wait is satisfied now: the index of the first signaled event, or all of them; -1 if none.
// Auto-reset events that satisfy the wait are reset. Caller holds g_mutex.
int TakeSatisfied(const std::vector<std::shared_ptr<Event>>& events, bool waitAll) {
    if (waitAll) {
        for (const auto& event : events)
            if (!event->signaled) return -1;
        for (const auto& event : events)
            if (!event->manualReset) event->signaled = false;
        return 0;
    }
    for (size_t i = 0; i < events.size(); ++i) {
        if (events[i]->signaled) {
            if (!events[i]->manualReset) events[i]->signaled = false;
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState,
                           LPCSTR lpName) {
    if (lpName != nullptr) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    SetLastError(ERROR_SUCCESS);
    return kernel::AddHandle(std::make_shared<Event>(bManualReset != FALSE, bInitialState != FALSE));
}

BOOL WINAPI SetEvent(HANDLE hEvent) { return SetSignaled(hEvent, true); }

BOOL WINAPI ResetEvent(HANDLE hEvent) { return SetSignaled(hEvent, false); }

DWORD WINAPI WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds) {
    if (nCount == 0 || nCount > MAXIMUM_WAIT_OBJECTS || lpHandles == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<Event>> events;
    for (DWORD i = 0; i < nCount; ++i) {
        auto event = EventFor(lpHandles[i]);
        if (!event) return WAIT_FAILED;
        events.push_back(std::move(event));
    }
    std::unique_lock lock(g_mutex);
    int index = -1;
    auto satisfied = [&] { return (index = TakeSatisfied(events, bWaitAll != FALSE)) >= 0; };
    if (dwMilliseconds == INFINITE) {
        g_changed.wait(lock, satisfied);
    } else if (!g_changed.wait_for(lock, std::chrono::milliseconds(dwMilliseconds), satisfied)) {
        return WAIT_TIMEOUT;
    }
    return WAIT_OBJECT_0 + static_cast<DWORD>(index);
}

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    return WaitForMultipleObjects(1, &hHandle, FALSE, dwMilliseconds);
}
