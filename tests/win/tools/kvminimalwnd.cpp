// kvminimalwnd: the smallest window program of ours, the reference of the start benchmark. It
// registers a class, creates one visible window at (100, 100) and enters the message loop; a
// middle click on the window hides it, so that an observer can tell when it handles input.
#include <windows.h>

#include "minimal_window.h"
#include "tool_window.h"

namespace {

LRESULT CALLBACK MinimalWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_MBUTTONUP) {
        ShowWindow(window, SW_HIDE);
        return 0;
    }
    return ToolWindowDefault(window, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!CreateToolWindow(kMinimalWindowClass, &MinimalWindowProc, kMinimalWindowClass,
                          WS_OVERLAPPEDWINDOW | WS_VISIBLE, kMinimalWindowBounds))
        return 1;
    return RunMessageLoop();
}
