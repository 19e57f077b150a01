#include "support/gui_driver.h"

#include "text/unicode.h"

namespace kvtest {

namespace {
constexpr int kPollMs = 10;
}

HWND WaitForTopLevel(const char* caption, int timeoutMs) {
    const std::wstring wideCaption = Wide(caption);
    for (int waited = 0; waited <= timeoutMs; waited += kPollMs) {
        HWND window = FindWindowW(nullptr, wideCaption.c_str());
        if (window && IsWindowVisible(window))
            return window;
        Sleep(kPollMs);
    }
    return nullptr;
}

void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void MoveCursor(int x, int y) {
    SetCursorPos(x, y);
    int stableChecks = 0;
    for (int i = 0; i < 200 && stableChecks < 5; ++i) {
        Sleep(kPollMs);
        PumpPending();
        POINT p = {};
        GetCursorPos(&p);
        if (p.x == x && p.y == y) {
            ++stableChecks;
        } else {
            stableChecks = 0;
            SetCursorPos(x, y);
        }
    }
}

bool PumpUntil(const std::function<bool()>& condition, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += kPollMs) {
        PumpPending();
        if (condition())
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
    }
    return condition();
}

}  // namespace kvtest
