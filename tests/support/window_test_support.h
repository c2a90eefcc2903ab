// A fixture for window-manager tests: a fresh machine, one window class whose procedure logs every
// message and can be given a handler, and helpers to drain the queue.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "machine/control.h"
#include "machine/machine.h"
#include "restable.h"
#include "windows.h"

namespace test {

struct Logged {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    int depth;  // how deeply the procedure was nested when it got the message
};

// Returns true when it answered the message itself (in `result`).
using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT& result)>;

inline std::vector<Logged> g_log;
inline Handler g_handler;
inline int g_depth = 0;

inline LRESULT CALLBACK LoggingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    g_log.push_back({hwnd, message, wParam, lParam, g_depth});
    ++g_depth;
    LRESULT result = 0;
    bool handled = g_handler && g_handler(hwnd, message, wParam, lParam, result);
    if (!handled) result = DefWindowProcA(hwnd, message, wParam, lParam);
    --g_depth;
    return result;
}

inline constexpr const char* kClassName = "Test Window";

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine::control::Reset();
        machine::control::SetMessageBoxEcho(false);
        g_log.clear();
        g_handler = nullptr;
        g_depth = 0;
        WNDCLASSA wc{};
        wc.lpfnWndProc = LoggingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClassName;
        ASSERT_NE(RegisterClassA(&wc), 0);
    }
    void TearDown() override {
        g_handler = nullptr;
        machine::control::Reset();
        // Tests register tables that live on their stack: none may outlive the test.
        static const char kNothing[] = "";
        static const RESOURCE_TABLE_ENTRY kNone[] = {{RT_RCDATA, MAKEINTRESOURCEA(1), 0, kNothing, 0}};
        RegisterProgramResources(kNone, 1);
    }

    // The framework's main window: overlapped, visible, with or without a menu.
    HWND CreateMainWindow(int clientWidth = 400, int clientHeight = 300, HMENU menu = nullptr,
                          DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE) {
        RECT rect{0, 0, clientWidth, clientHeight};
        AdjustWindowRect(&rect, style, menu != nullptr);
        return CreateWindowExA(0, kClassName, "Test", style, CW_USEDEFAULT, CW_USEDEFAULT, rect.right - rect.left,
                               rect.bottom - rect.top, nullptr, menu, GetModuleHandleA(nullptr), nullptr);
    }

    // Messages the procedure got, in order, optionally only these kinds.
    static std::vector<UINT> Messages(const std::vector<UINT>& only = {}) {
        std::vector<UINT> result;
        for (const Logged& l : g_log)
            if (only.empty() || std::find(only.begin(), only.end(), l.message) != only.end()) result.push_back(l.message);
        return result;
    }

    // Takes and dispatches every message until the queue is empty (WM_QUIT stops it).
    static std::vector<MSG> Drain() {
        std::vector<MSG> taken;
        MSG msg;
        for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
            taken.push_back(msg);
            if (msg.message == WM_QUIT) break;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return taken;
    }

    static SIZE ClientSize(HWND window) {
        RECT r;
        GetClientRect(window, &r);
        return {r.right, r.bottom};
    }
};

}  // namespace test
