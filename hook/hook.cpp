// Kestrovar.dll: watches the middle mouse button system-wide with a low-level mouse hook and
// reports presses and releases to the launcher window as posted messages.
//
// The hook runs on a thread of its own, at a raised priority, with its own message loop, so that
// a busy launcher never delays the pointer. The callback only classifies the event and posts:
// the system silently removes low-level hooks whose callbacks are slow, and after sleep or a
// session switch. A watchdog on the same thread therefore installs a fresh hook when the user
// moved the pointer and the hook saw none of it, and when the session is unlocked or the machine
// resumes. A hidden window of the thread carries its timer and receives those notices.
//
// Built with KV_HOOK_TEST_BUILD (tests only, never shipped), the hidden window also takes requests
// to drop the hook as the system would, and shows its counters in its window text; and the hook
// thread starts as late as KV_HOOK_TEST_START_DELAY_MS in the environment says.
#include <windows.h>

#include <cstdlib>

#include "framework/system_library.h"
#include "hook/hook_interface.h"
#include "hook/pointer_watch.h"

namespace {

constexpr DWORD kThreadStartTimeoutMs = 5000;
constexpr DWORD kThreadStopTimeoutMs = 2000;
constexpr UINT kWatchPeriodMs = 2000;
constexpr UINT_PTR kWatchTimer = 1;
constexpr wchar_t kWatchClass[] = L"KestrovarHookWatch";

// Notices that the headers of the oldest targeted system do not declare.
constexpr UINT kWmWtsSessionChange = 0x02B1;
constexpr WPARAM kWtsConsoleConnect = 0x1;
constexpr WPARAM kWtsRemoteConnect = 0x3;
constexpr WPARAM kWtsSessionUnlock = 0x8;
constexpr DWORD kNotifyForThisSession = 0;
constexpr WPARAM kPbtPowerSettingChange = 0x8013;
constexpr DWORD kDeviceNotifyWindowHandle = 0;
// GUID_CONSOLE_DISPLAY_STATE (Windows 8 on; also sent when modern standby ends) and its
// predecessor GUID_MONITOR_POWER_ON (Vista, 7). Data: 0 off, 1 on, 2 dimmed.
constexpr GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kMonitorPowerOn = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
struct PowerSetting {  // POWERBROADCAST_SETTING
    GUID setting;
    DWORD dataLength;
    UCHAR data[1];
};

HMODULE g_module = nullptr;
HWND g_target = nullptr;
HANDLE g_thread = nullptr;
DWORD g_threadId = 0;
volatile LONG g_startedWithHook = 0;  // set by the hook thread before it signals that it is set up
// Process-local flags: a low-level hook runs in the process that installed it.
volatile LONG g_messageLock = 0;
volatile LONG g_clickLock = 0;

// Functions newer than the oldest targeted system, looked up when the hook thread starts.
class Notices {
public:
    void Register(HWND window) {
        wtsapi_ = LoadSystemLibrary(L"wtsapi32.dll");
        if (wtsapi_) {
            wtsRegister_ = Lookup<WtsRegister>(wtsapi_, "WTSRegisterSessionNotification");
            wtsUnregister_ = Lookup<WtsUnregister>(wtsapi_, "WTSUnRegisterSessionNotification");
        }
        RetrySession(window);
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        auto powerRegister = Lookup<PowerRegister>(user32, "RegisterPowerSettingNotification");
        powerUnregister_ = Lookup<PowerUnregister>(user32, "UnregisterPowerSettingNotification");
        if (powerRegister && powerUnregister_) {
            display_ = powerRegister(window, &kConsoleDisplayState, kDeviceNotifyWindowHandle);
            if (!display_)
                display_ = powerRegister(window, &kMonitorPowerOn, kDeviceNotifyWindowHandle);
        }
    }

    // At logon the session service may not answer yet; the watchdog's timer tries again.
    void RetrySession(HWND window) {
        if (!sessionRegistered_ && wtsRegister_)
            sessionRegistered_ = wtsRegister_(window, kNotifyForThisSession) != FALSE;
    }

    void Unregister(HWND window) {
        if (sessionRegistered_ && wtsUnregister_)
            wtsUnregister_(window);
        sessionRegistered_ = false;
        if (display_)
            powerUnregister_(display_);
        display_ = nullptr;
        if (wtsapi_)
            FreeLibrary(wtsapi_);
        wtsapi_ = nullptr;
        wtsRegister_ = nullptr;
        wtsUnregister_ = nullptr;
    }

private:
    using WtsRegister = BOOL(WINAPI*)(HWND, DWORD);
    using WtsUnregister = BOOL(WINAPI*)(HWND);
    using PowerRegister = HANDLE(WINAPI*)(HANDLE, const GUID*, DWORD);
    using PowerUnregister = BOOL(WINAPI*)(HANDLE);

    template <typename Fn>
    static Fn Lookup(HMODULE module, const char* name) {
        return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
    }

    HMODULE wtsapi_ = nullptr;
    WtsRegister wtsRegister_ = nullptr;
    WtsUnregister wtsUnregister_ = nullptr;
    PowerUnregister powerUnregister_ = nullptr;
    HANDLE display_ = nullptr;
    bool sessionRegistered_ = false;
};

// The hook thread's state. Only that thread touches it: the callback, the timer and the notices
// all run there, one at a time.
struct HookThread {
    HHOOK hook = nullptr;
    HWND watch = nullptr;
    Notices notices;
    kvhook::PointerSeen seen;
    // Inside CallNextHookEx: a nested call of the callback is an older hook of ours handed the
    // same event, which must not be reported twice.
    bool inChain = false;
    // The last press was kept from its window, so its release is kept too.
    bool clickKept = false;
    int displayState = -1;  // unknown until the first notice, which the registration itself sends
#ifdef KV_HOOK_TEST_BUILD
    HHOOK extra = nullptr;  // an older hook left installed beside `hook`
    unsigned checks = 0;
    unsigned rearms = 0;
#endif
};
HookThread g_t;

// Screen points travel as signed 16-bit halves so that monitors left of or above the
// primary one (negative coordinates) survive the trip.
LPARAM PackPoint(POINT pt) {
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(pt.x)), static_cast<WORD>(static_cast<SHORT>(pt.y)));
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HC_ACTION || g_t.inChain)
        return CallNextHookEx(g_t.hook, code, wParam, lParam);
    const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    g_t.seen.tick = GetTickCount();
    g_t.seen.pt = info->pt;
    if (wParam == WM_MBUTTONDOWN || wParam == WM_MBUTTONUP) {
        HWND under = WindowFromPoint(info->pt);
        UINT message = wParam == WM_MBUTTONDOWN ? KVM_HOOKDOWN : KVM_HOOKCLICK;
        PostMessageW(g_target, message, reinterpret_cast<WPARAM>(under), PackPoint(info->pt));
        // While the launcher holds its message lock (a dialog of it is open) it re-delivers
        // nothing, so the click goes to the window under the cursor.
        if (wParam == WM_MBUTTONDOWN)
            g_t.clickKept =
                InterlockedCompareExchange(&g_clickLock, 0, 0) && !InterlockedCompareExchange(&g_messageLock, 0, 0);
        if (g_t.clickKept)
            return 1;  // kept from the window under the cursor; the launcher re-delivers where due
    }
    g_t.inChain = true;
    const LRESULT result = CallNextHookEx(g_t.hook, code, wParam, lParam);
    g_t.inChain = false;
    return result;
}

#ifdef KV_HOOK_TEST_BUILD
// Requests to the hidden window, posted by the tests.
constexpr UINT kTestDropHook = WM_APP + 1;     // remove the hook and keep its handle, as the system does
constexpr UINT kTestOverlapHook = WM_APP + 2;  // install a fresh hook and leave the old one in place

void ShowCounters() {
    wchar_t text[64];
    wsprintfW(text, L"checks %u rearms %u", g_t.checks, g_t.rearms);
    SetWindowTextW(g_t.watch, text);
}
#endif

void ForgetOldHook(HHOOK old, bool keepOld) {
#ifdef KV_HOOK_TEST_BUILD
    if (keepOld) {
        if (g_t.extra)
            UnhookWindowsHookEx(g_t.extra);
        g_t.extra = old;
        return;
    }
#endif
    (void)keepOld;
    UnhookWindowsHookEx(old);  // fails harmlessly when the system has removed it already
}

// A hook the system refused is tried again at the next watchdog check; the refusal is told to a
// debugger, as a library with no window of its own has nobody else to tell.
void ReportRefusedHook() {
    wchar_t text[96];
    wsprintfW(text, L"%s: the mouse hook was refused (error %lu); trying again\n", kHookLibraryName, GetLastError());
    OutputDebugStringW(text);
}

// The fresh hook goes in before the old one comes out, so no event falls between them; the
// callback's chain guard keeps an event that reaches both from being reported twice.
void ReArm(bool keepOld = false) {
    HHOOK fresh = SetWindowsHookExW(WH_MOUSE_LL, &MouseHook, g_module, 0);
    if (!fresh) {
        ReportRefusedHook();
        return;  // the old one stays; the next check tries again
    }
    HHOOK old = g_t.hook;
    g_t.hook = fresh;
    if (old && old != fresh)
        ForgetOldHook(old, keepOld);
    g_t.seen.tick = GetTickCount();
    GetCursorPos(&g_t.seen.pt);
#ifdef KV_HOOK_TEST_BUILD
    ++g_t.rearms;
    ShowCounters();
#endif
}

void Check() {
    POINT cursor = {};
    if (kvhook::CheckPointerUnseen(g_t.seen, &cursor))
        ReArm();
    g_t.notices.RetrySession(g_t.watch);
#ifdef KV_HOOK_TEST_BUILD
    ++g_t.checks;
    ShowCounters();
#endif
}

// Display on after off: the end of a sleep, also of a modern standby that sends no resume.
void OnDisplayState(const PowerSetting* setting) {
    if (!setting || setting->dataLength < sizeof(DWORD))
        return;
    const int state = static_cast<int>(*reinterpret_cast<const DWORD*>(setting->data));
    const bool cameOn = g_t.displayState == 0 && state != 0;
    g_t.displayState = state;
    if (cameOn)
        ReArm();
}

LRESULT CALLBACK WatchProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_TIMER:
            if (wParam == kWatchTimer)
                Check();
            return 0;
        case WM_POWERBROADCAST:
            if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND || wParam == PBT_APMRESUMECRITICAL)
                ReArm();
            else if (wParam == kPbtPowerSettingChange)
                OnDisplayState(reinterpret_cast<const PowerSetting*>(lParam));
            return TRUE;
        case kWmWtsSessionChange:
            if (wParam == kWtsSessionUnlock || wParam == kWtsConsoleConnect || wParam == kWtsRemoteConnect)
                ReArm();
            return 0;
#ifdef KV_HOOK_TEST_BUILD
        case kTestDropHook:
            UnhookWindowsHookEx(g_t.hook);
            return 0;
        case kTestOverlapHook:
            ReArm(true);
            return 0;
#endif
        default:
            return DefWindowProcW(window, msg, wParam, lParam);
    }
}

// A hidden top-level window: power broadcasts reach top-level windows only, not message-only ones.
HWND CreateWatchWindow() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &WatchProc;
    wc.hInstance = g_module;
    wc.lpszClassName = kWatchClass;
    RegisterClassW(&wc);
    return CreateWindowExW(WS_EX_TOOLWINDOW, kWatchClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, g_module,
                           nullptr);
}

#ifdef KV_HOOK_TEST_BUILD
DWORD TestStartDelayMs() {
    wchar_t text[16] = L"";
    const DWORD length = GetEnvironmentVariableW(L"KV_HOOK_TEST_START_DELAY_MS", text, ARRAYSIZE(text));
    return length < ARRAYSIZE(text) ? wcstoul(text, nullptr, 10) : 0;
}
#endif

DWORD WINAPI HookThreadMain(LPVOID started) {
#ifdef KV_HOOK_TEST_BUILD
    Sleep(TestStartDelayMs());
#endif
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // make sure this thread has a queue
    g_t = HookThread();
    g_t.watch = CreateWatchWindow();
    g_t.hook = SetWindowsHookExW(WH_MOUSE_LL, &MouseHook, g_module, 0);
    if (!g_t.hook)
        ReportRefusedHook();
    GetCursorPos(&g_t.seen.pt);
    g_t.seen.tick = GetTickCount();
    if (g_t.watch) {
        g_t.notices.Register(g_t.watch);
        SetTimer(g_t.watch, kWatchTimer, kWatchPeriodMs, nullptr);
    }
    InterlockedExchange(&g_startedWithHook, g_t.hook ? 1 : 0);
    SetEvent(static_cast<HANDLE>(started));
    CloseHandle(static_cast<HANDLE>(started));
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (g_t.watch) {
        KillTimer(g_t.watch, kWatchTimer);
        g_t.notices.Unregister(g_t.watch);
        DestroyWindow(g_t.watch);
    }
    UnregisterClassW(kWatchClass, g_module);
    if (g_t.hook)
        UnhookWindowsHookEx(g_t.hook);
#ifdef KV_HOOK_TEST_BUILD
    if (g_t.extra)
        UnhookWindowsHookEx(g_t.extra);
#endif
    g_t = HookThread();
    return 0;
}

}  // namespace

// The five operations; the .def file exports them undecorated.
extern "C" {

int __cdecl Start(int window) {
    if (g_thread)
        return 0;
    g_target = reinterpret_cast<HWND>(static_cast<LONG_PTR>(window));
    // The thread gets a handle of its own to the event: after a start slower than the wait it
    // still signals the event, while Start has closed its handle long before.
    HANDLE started = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE threadsCopy = nullptr;
    if (!started || !DuplicateHandle(GetCurrentProcess(), started, GetCurrentProcess(), &threadsCopy, 0, FALSE,
                                     DUPLICATE_SAME_ACCESS)) {
        if (started)
            CloseHandle(started);
        return 0;
    }
    InterlockedExchange(&g_startedWithHook, 0);
    g_thread = CreateThread(nullptr, 0, &HookThreadMain, threadsCopy, 0, &g_threadId);
    if (!g_thread)
        CloseHandle(threadsCopy);
    // A thread not set up in time is reported as no hook; it goes on and End stops it as usual.
    const bool setUp = g_thread && WaitForSingleObject(started, kThreadStartTimeoutMs) == WAIT_OBJECT_0;
    CloseHandle(started);
    return setUp && InterlockedCompareExchange(&g_startedWithHook, 0, 0);
}

int __cdecl End() {
    if (!g_thread)
        return 0;
    PostThreadMessageW(g_threadId, WM_QUIT, 0, 0);
    if (WaitForSingleObject(g_thread, kThreadStopTimeoutMs) == WAIT_TIMEOUT)
        TerminateThread(g_thread, 0);
    CloseHandle(g_thread);
    g_thread = nullptr;
    g_threadId = 0;
    g_target = nullptr;
    return 1;
}

int __cdecl WheelClickLock(int on) {
    InterlockedExchange(&g_clickLock, on ? 1 : 0);
    return 1;
}

int __cdecl LockMessage(int on) {
    InterlockedExchange(&g_messageLock, on ? 1 : 0);
    return 1;
}

int __cdecl IsLockMessage() {
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
