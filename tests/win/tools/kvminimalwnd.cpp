// kvminimalwnd: the smallest window program of ours, the reference of the start benchmark. It
// registers a class, creates one visible window at (100, 100) and enters the message loop; a
// middle click on the window hides it, so that an observer can tell when it handles input.
#include <windows.h>

namespace {

constexpr char kClassName[] = "KvMinimalWnd";
constexpr int kLeft = 100;
constexpr int kTop = 100;
constexpr int kWidth = 300;
constexpr int kHeight = 200;

LRESULT CALLBACK MinimalWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_MBUTTONUP:
            ShowWindow(window, SW_HIDE);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &MinimalWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass))
        return 1;
    if (!CreateWindowExA(0, kClassName, kClassName, WS_OVERLAPPEDWINDOW | WS_VISIBLE, kLeft, kTop, kWidth, kHeight,
                         nullptr, nullptr, instance, nullptr))
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
