// The dialogs that live: their state by window, the one being created, and the modal loops running.
#include <algorithm>
#include <map>

#include "dialogs.h"
#include "kernel/text_case.h"
#include "user/reset.h"
#include "user/window_objects.h"

namespace user::dialogs {
namespace {

struct Registry {
    std::map<HWND, std::shared_ptr<DialogState>> dialogs;
    std::shared_ptr<DialogState> creating;
    std::vector<HWND> running;
    bool creationFails = false;
};

void ResetRegistry();

Registry& State() {
    static Registry registry;
    static bool registered = (detail::RegisterUserReset(&ResetRegistry), true);
    (void)registered;
    return registry;
}

void ResetRegistry() { State() = Registry{}; }

}  // namespace

std::shared_ptr<DialogState> FindDialog(HWND dialog) {
    if (!FindWindowObject(dialog)) return nullptr;
    auto found = State().dialogs.find(dialog);
    return found == State().dialogs.end() ? nullptr : found->second;
}

void BeginCreation(std::shared_ptr<DialogState> state) { State().creating = std::move(state); }

std::shared_ptr<DialogState> BindCreatedWindow(HWND window) {
    Registry& r = State();
    if (auto found = r.dialogs.find(window); found != r.dialogs.end()) return found->second;
    if (!r.creating) return nullptr;
    std::shared_ptr<DialogState> state = std::move(r.creating);
    r.creating = nullptr;
    state->handle = window;
    r.dialogs[window] = state;
    return state;
}

void ForgetDialog(HWND dialog) { State().dialogs.erase(dialog); }

void PushRunning(HWND dialog) { State().running.push_back(dialog); }

void PopRunning(HWND dialog) {
    auto& running = State().running;
    running.erase(std::remove(running.begin(), running.end(), dialog), running.end());
}

HWND InnermostDialog() {
    for (auto it = State().running.rbegin(); it != State().running.rend(); ++it)
        if (FindDialog(*it)) return *it;
    return nullptr;
}

HWND DialogOf(HWND window) {
    for (auto w = FindWindowObject(window); w; w = FindWindowObject(w->parent)) {
        if (FindDialog(w->handle)) return w->handle;
        if (!w->IsChild()) break;
    }
    return nullptr;
}

bool& CreationFails() { return State().creationFails; }

std::vector<HWND> ControlsOf(HWND dialog) {
    std::vector<HWND> controls;
    if (dialog == nullptr) return controls;
    for (const auto& window : LiveWindows())
        if (window->IsChild() && window->parent == dialog) controls.push_back(window->handle);
    return controls;
}

bool IsClass(HWND window, const char* className) {
    auto w = FindWindowObject(window);
    return w && kernel::EqualsIgnoreCase(w->windowClass->name, className);
}

}  // namespace user::dialogs
