// kvclickrec: a top-level window of class "KvClickRecorder" that appends every middle-button
// press and release it receives to a file, one line each: "down X Y" or "up X Y" (client
// coordinates). End-to-end tests use it as a program that needs the middle button itself.
//
//   kvclickrec OUTFILE X Y W H [SECONDS]   window at (X, Y), size W x H; ends after SECONDS
//                                          (default 120) or when closed
#include <windows.h>
#include <windowsx.h>

#include "tool_window.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr char kClassName[] = "KvClickRecorder";
constexpr UINT_PTR kLifetimeTimer = 1;
const char* g_outFile = nullptr;

void Record(const char* what, LPARAM lParam) {
    FILE* f = fopen(g_outFile, "a");
    if (!f)
        return;
    fprintf(f, "%s %d %d\n", what, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    fclose(f);
}

LRESULT CALLBACK RecorderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_MBUTTONDOWN:
            Record("down", lParam);
            return 0;
        case WM_MBUTTONUP:
            Record("up", lParam);
            return 0;
        case WM_TIMER:
            DestroyWindow(hwnd);
            return 0;
        default:
            return ToolWindowDefault(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        fprintf(stderr, "usage: kvclickrec OUTFILE X Y W H [SECONDS]\n");
        return 2;
    }
    g_outFile = argv[1];
    const int x = atoi(argv[2]), y = atoi(argv[3]), w = atoi(argv[4]), h = atoi(argv[5]);
    const int seconds = argc > 6 ? atoi(argv[6]) : 120;

    HWND hwnd = CreateToolWindow(kClassName, &RecorderProc, "Click Recorder", WS_POPUP | WS_BORDER | WS_VISIBLE,
                                 {x, y, x + w, y + h});
    if (!hwnd)
        return 1;
    SetTimer(hwnd, kLifetimeTimer, static_cast<UINT>(seconds) * 1000u, nullptr);
    return RunMessageLoop();
}
