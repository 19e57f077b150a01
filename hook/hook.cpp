// Kestrovar.dll: watches the middle mouse button system-wide with a low-level mouse hook and
// reports presses and releases to the launcher window as posted messages.
//
// The hook runs on a thread of its own with its own message loop, so that a busy launcher
// never delays the pointer. The callback only classifies the event and posts: the system
// silently removes low-level hooks whose callbacks are slow.
#include <windows.h>

namespace {

constexpr UINT kHookClickMessage = WM_USER + 200;  // middle button released
constexpr UINT kHookDownMessage = WM_USER + 201;   // middle button pressed
constexpr DWORD kThreadStartTimeoutMs = 5000;
constexpr DWORD kThreadStopTimeoutMs = 2000;

HMODULE g_module = nullptr;
HWND g_target = nullptr;
HANDLE g_thread = nullptr;
DWORD g_threadId = 0;
HHOOK g_hook = nullptr;
bool g_clickKept = false;  // hook thread only: the last press was kept from its window, so its release is too
// Process-local flags: a low-level hook runs in the process that installed it.
volatile LONG g_messageLock = 0;
volatile LONG g_clickLock = 0;

// Screen points travel as signed 16-bit halves so that monitors left of or above the
// primary one (negative coordinates) survive the trip.
LPARAM PackPoint(POINT pt) {
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(pt.x)), static_cast<WORD>(static_cast<SHORT>(pt.y)));
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && (wParam == WM_MBUTTONDOWN || wParam == WM_MBUTTONUP)) {
        const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        HWND under = WindowFromPoint(info->pt);
        UINT message = wParam == WM_MBUTTONDOWN ? kHookDownMessage : kHookClickMessage;
        PostMessageA(g_target, message, reinterpret_cast<WPARAM>(under), PackPoint(info->pt));
        // While the launcher holds its message lock (a dialog of it is open) it re-delivers
        // nothing, so the click goes to the window under the cursor.
        if (wParam == WM_MBUTTONDOWN)
            g_clickKept = InterlockedCompareExchange(&g_clickLock, 0, 0) &&
                          !InterlockedCompareExchange(&g_messageLock, 0, 0);
        if (g_clickKept)
            return 1;  // kept from the window under the cursor; the launcher re-delivers where due
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

DWORD WINAPI HookThread(LPVOID started) {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // make sure this thread has a queue
    g_hook = SetWindowsHookExA(WH_MOUSE_LL, &MouseHook, g_module, 0);
    SetEvent(static_cast<HANDLE>(started));
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (g_hook)
        UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    return 0;
}

}  // namespace

extern "C" {

__declspec(dllexport) int __cdecl Start(int window) {
    if (g_thread)
        return 0;
    g_target = reinterpret_cast<HWND>(static_cast<LONG_PTR>(window));
    HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!started)
        return 0;
    g_thread = CreateThread(nullptr, 0, &HookThread, started, 0, &g_threadId);
    if (g_thread)
        WaitForSingleObject(started, kThreadStartTimeoutMs);
    CloseHandle(started);
    return g_hook != nullptr;
}

__declspec(dllexport) int __cdecl End() {
    if (!g_thread)
        return 0;
    PostThreadMessageA(g_threadId, WM_QUIT, 0, 0);
    if (WaitForSingleObject(g_thread, kThreadStopTimeoutMs) == WAIT_TIMEOUT)
        TerminateThread(g_thread, 0);
    CloseHandle(g_thread);
    g_thread = nullptr;
    g_threadId = 0;
    g_target = nullptr;
    return 1;
}

__declspec(dllexport) int __cdecl WheelClickLock(int on) {
    InterlockedExchange(&g_clickLock, on ? 1 : 0);
    return 1;
}

__declspec(dllexport) int __cdecl LockMessage(int on) {
    InterlockedExchange(&g_messageLock, on ? 1 : 0);
    return 1;
}

__declspec(dllexport) int __cdecl IsLockMessage() {
    return InterlockedCompareExchange(&g_messageLock, 0, 0);
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
