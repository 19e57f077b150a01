// The hook library's answers to the system's notices, in process with its test build (which shows
// its counters in the text of its hidden window): a resume, an unlock or a reconnect of the session,
// and the display coming on again re-arm the hook; the notices before them do not. End removes the
// hidden window, and a second Start brings it back. A hook thread that starts later than Start
// waits for leaves the caller's handles alone.
#include <windows.h>

#include "support/own_paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

constexpr char kWatchClass[] = "KestrovarHookWatch";
constexpr UINT kWtsSessionChange = 0x02B1;
constexpr WPARAM kPowerSettingChange = 0x8013;
constexpr GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

struct DisplaySetting {  // POWERBROADCAST_SETTING with its one DWORD of data
    GUID setting;
    DWORD dataLength;
    DWORD state;
};

using IntOperation = int(__cdecl*)(int);
using VoidOperation = int(__cdecl*)();

HWND WatchWindow() {
    return FindWindowA(kWatchClass, nullptr);
}

unsigned Rearms() {
    char text[64] = "";
    GetWindowTextA(WatchWindow(), text, sizeof(text));
    unsigned checks = 0, rearms = 0;
    sscanf(text, "checks %u rearms %u", &checks, &rearms);
    return rearms;
}

struct Notice {
    const char* name;
    UINT message;
    WPARAM wParam;
    int displayState;  // -1: not a display notice
    unsigned rearms;   // re-arms it causes
};

// The test build of the library with its Start and End, and a message window as its target.
struct TestLibrary {
    TestLibrary() {
        module = LoadLibraryW(Wide(kvtest::OwnFolder() + "\\hooktest\\Kestrovar.dll").c_str());
        start = reinterpret_cast<IntOperation>(reinterpret_cast<void*>(GetProcAddress(module, "Start")));
        end = reinterpret_cast<VoidOperation>(reinterpret_cast<void*>(GetProcAddress(module, "End")));
        target = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    ~TestLibrary() {
        DestroyWindow(target);
        FreeLibrary(module);
    }
    int Start() { return start(static_cast<int>(reinterpret_cast<LONG_PTR>(target))); }

    HMODULE module;
    IntOperation start;
    VoidOperation end;
    HWND target;
};

TEST(HookNoticesTest, ResumeUnlockAndDisplayOnReArmTheHook) {
    TestLibrary library;
    ASSERT_TRUE(library.start && library.end);
    ASSERT_EQ(library.Start(), 1);
    ASSERT_NE(WatchWindow(), nullptr);

    const Notice notices[] = {
        {"suspend", WM_POWERBROADCAST, PBT_APMSUSPEND, -1, 0},
        {"automatic resume", WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, -1, 1},
        {"resume by the user", WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, -1, 1},
        {"session locked", kWtsSessionChange, 0x7, -1, 0},
        {"session unlocked", kWtsSessionChange, 0x8, -1, 1},
        {"console reconnected", kWtsSessionChange, 0x1, -1, 1},
        {"display state first told: on", WM_POWERBROADCAST, kPowerSettingChange, 1, 0},
        {"display off", WM_POWERBROADCAST, kPowerSettingChange, 0, 0},
        {"display dimmed after off", WM_POWERBROADCAST, kPowerSettingChange, 2, 1},
        {"display on after dimmed", WM_POWERBROADCAST, kPowerSettingChange, 1, 0},
    };
    for (const Notice& notice : notices) {
        const unsigned before = Rearms();
        DisplaySetting setting = {kConsoleDisplayState, sizeof(DWORD), static_cast<DWORD>(notice.displayState)};
        const LPARAM lParam = notice.displayState >= 0 ? reinterpret_cast<LPARAM>(&setting) : 0;
        SendMessageA(WatchWindow(), notice.message, notice.wParam, lParam);
        EXPECT_EQ(Rearms() - before, notice.rearms) << notice.name;
    }

    EXPECT_EQ(library.end(), 1);
    EXPECT_EQ(WatchWindow(), nullptr) << "End leaves the hidden window behind";
    ASSERT_EQ(library.Start(), 1) << "a second Start";
    EXPECT_NE(WatchWindow(), nullptr);
    EXPECT_EQ(library.end(), 1);
}

// A start slower than Start waits for, as on a loaded machine: Start gives up and says so, and the
// hook thread, when it comes, signals no handle of its caller (the event Start waited on is closed
// by then, and its handle value is handed out again).
TEST(HookNoticesTest, SlowThreadStartSignalsNoHandleOfTheCaller) {
    SetEnvironmentVariableA("KV_HOOK_TEST_START_DELAY_MS", "6000");
    TestLibrary library;
    ASSERT_TRUE(library.start && library.end);
    EXPECT_EQ(library.Start(), 0) << "a hook not installed in time is reported";
    SetEnvironmentVariableA("KV_HOOK_TEST_START_DELAY_MS", nullptr);
    HANDLE callers = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(WaitForSingleObject(callers, 3000), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_NE(WatchWindow(), nullptr) << "the late thread set up its watch";
    EXPECT_EQ(library.end(), 1);
    CloseHandle(callers);
}

}  // namespace
