// kvafxwnd: shows a top-level window whose class name is generated the way some application
// frameworks generate theirs ("Afx:..."), for tests of the ignored-windows page.
//
//   kvafxwnd [CLASS] [TITLE] [ms]   show the window for ms milliseconds (default 10 minutes)
#include <windows.h>

#include "tool_window.h"

#include <cstdlib>

namespace {

constexpr char kDefaultClass[] = "Afx:00400000:b:00010003:00000006:00000000";
constexpr char kDefaultTitle[] = "Afx probe window";
constexpr UINT_PTR kQuitTimer = 1;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER) {
        PostQuitMessage(0);
        return 0;
    }
    return ToolWindowDefault(hwnd, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    const char* className = argc > 1 ? argv[1] : kDefaultClass;
    const char* title = argc > 2 ? argv[2] : kDefaultTitle;
    const UINT lifetimeMs = argc > 3 ? static_cast<UINT>(strtoul(argv[3], nullptr, 0)) : 600000;
    HWND window =
        CreateToolWindow(className, &WindowProc, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, {600, 400, 900, 600});
    if (!window)
        return 1;
    SetTimer(window, kQuitTimer, lifetimeMs, nullptr);
    return RunMessageLoop();
}
