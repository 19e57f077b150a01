// kvafxwnd: shows a top-level window whose class name is generated the way some application
// frameworks generate theirs ("Afx:..."), for tests of the ignored-windows page.
//
//   kvafxwnd [CLASS] [TITLE] [ms]   show the window for ms milliseconds (default 10 minutes)
#include <windows.h>

#include <cstdlib>

namespace {

constexpr char kDefaultClass[] = "Afx:00400000:b:00010003:00000006:00000000";
constexpr char kDefaultTitle[] = "Afx probe window";
constexpr UINT_PTR kQuitTimer = 1;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER || msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    const char* className = argc > 1 ? argv[1] : kDefaultClass;
    const char* title = argc > 2 ? argv[2] : kDefaultTitle;
    const UINT lifetimeMs = argc > 3 ? static_cast<UINT>(strtoul(argv[3], nullptr, 0)) : 600000;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    if (!RegisterClassA(&wc))
        return 1;
    HWND window = CreateWindowA(className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 400, 300, 200, nullptr,
                                nullptr, wc.hInstance, nullptr);
    if (!window)
        return 1;
    SetTimer(window, kQuitTimer, lifetimeMs, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
