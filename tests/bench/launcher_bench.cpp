// launcher_bench: times the launcher window in process, on a real CKestrovarBodyWnd under Wine.
//
//   - show: a wheel click (KVM_HOOKCLICK posted as the hook library does) until the launcher is
//     visible at the cursor and every pending paint is done; the hide that follows is timed too.
//   - page step: KVM_PAGESTEP on a 20 x 20 grid holding 10,000 items, until the page is shown
//     and painted.
//
// References in the same run: a plain popup window of the launcher's size shown at the cursor
// and painted (the least any show costs), and a grid of 400 owner-drawn buttons each repainted
// by its own paint with its icon (what a page step costs when every button paints itself).
//
// Prints one JSON object per measurement on stdout:
//   {"name": ..., "unit": "ms", "samples": N, "p50": ..., "p95": ..., "max": ..., "goal_p95": ...}
// Usage: launcher_bench [SHOW_TOGGLES] [PAGE_STEPS]
#include "bench_report.h"
#include "framework/handles.h"
#include "framework/registry_profile.h"
#include "launcher/body_wnd.h"
#include "launcher/messages.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr char kBenchCompany[] = "KvBenchCompany";
constexpr int kCursorX = 500;
constexpr int kCursorY = 400;
constexpr int kGridSide = 20;
constexpr int kItemCount = 10000;
constexpr double kShowGoalMs = 5.0;
constexpr double kHideGoalMs = 5.0;
constexpr double kShowUnderLoadGoalMs = 16.7;  // one frame at 60 Hz
constexpr DWORD kSpinUpMs = 500;
constexpr double kPageStepGoalMs = 16.0;
constexpr WPARAM kWheelTowardsUser = 2;   // the next page
constexpr WPARAM kWheelAwayFromUser = 1;  // the previous page

// Seven programs with icons of their own; 400 buttons per page is no multiple of seven, so every
// button's icon changes at every page step (the worst case: every button is repainted).
const char* const kPrograms[] = {
    "C:\\windows\\notepad.exe",         "C:\\windows\\regedit.exe",
    "C:\\windows\\explorer.exe",        "C:\\windows\\hh.exe",
    "C:\\windows\\system32\\cmd.exe",   "C:\\windows\\system32\\control.exe",
    "C:\\windows\\system32\\clock.exe",
};

// Handles every queued message and pending paint of this thread.
void DrainQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    GdiFlush();
}

void MoveCursor(int x, int y) {
    for (int i = 0; i < 200; ++i) {
        POINT p = {};
        GetCursorPos(&p);
        if (p.x == x && p.y == y)
            return;
        SetCursorPos(x, y);
        Sleep(10);
        DrainQueue();
    }
}

struct Reference {
    const char* name = nullptr;
    std::vector<double> samples;
};

void Report(const char* name, const std::vector<double>& samples, double goal, const Reference& reference = {},
            const char* note = nullptr) {
    bench::Row row;
    row.name = name;
    row.note = note ? note : "";
    row.samples = samples;
    if (goal > 0 && !samples.empty()) {
        char text[32];
        snprintf(text, sizeof(text), "p95 <= %g ms", goal);
        row.goal = text;
        row.met = bench::Percentile(samples, 0.95) <= goal;
    }
    if (reference.name && !reference.samples.empty()) {
        row.reference = reference.name;
        row.referenceP50 = bench::Median(reference.samples);
    }
    bench::Print(row);
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
        EndPaint(window, &paint);
        return 0;
    }
    if (msg == WM_DRAWITEM) {
        const DRAWITEMSTRUCT* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        FillRect(draw->hDC, &draw->rcItem, GetSysColorBrush(COLOR_BTNFACE));
        HICON icon = reinterpret_cast<HICON>(GetWindowLongPtrA(draw->hwndItem, GWLP_USERDATA));
        DrawIconEx(draw->hDC, 3, 3, icon, 16, 16, 0, nullptr, DI_NORMAL);
        return TRUE;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

HWND CreatePlainWindow(int width, int height) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KvBenchPlainWindow";
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&windowClass);
    return CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "KvBenchPlainWindow", "", WS_POPUP, -9999, -9999, width,
                           height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

struct PlainTimes {
    std::vector<double> shows, hides;
};

// A plain window of the launcher's size shown at the cursor and painted, then hidden; with
// takeForeground it is also made the foreground window as the launcher makes itself, and the
// window under the cursor gets it back at the hide.
PlainTimes ShowPlainWindow(int width, int height, int samples, bool takeForeground) {
    PlainTimes times;
    HWND window = CreatePlainWindow(width, height);
    if (!window)
        return times;
    for (int i = 0; i < samples; ++i) {
        double start = bench::NowMs();
        SetWindowPos(window, HWND_TOPMOST, kCursorX - width / 2, kCursorY - height / 2, width, height, SWP_SHOWWINDOW);
        if (takeForeground)
            ForceForeground(window);
        DrainQueue();
        times.shows.push_back(bench::NowMs() - start);
        start = bench::NowMs();
        SetWindowPos(window, HWND_TOPMOST, -9999, -9999, width, height, SWP_HIDEWINDOW);
        if (takeForeground)
            ForceForeground(WindowFromPoint(POINT{kCursorX, kCursorY}));
        DrainQueue();
        times.hides.push_back(bench::NowMs() - start);
    }
    DestroyWindow(window);
    DrainQueue();
    return times;
}

// The working-set trim the launcher does at every hide, alone.
std::vector<double> TrimWorkingSetAlone(int samples) {
    std::vector<double> trims;
    const SIZE_T kEmpty = static_cast<SIZE_T>(-1);
    for (int i = 0; i < samples; ++i) {
        const double start = bench::NowMs();
        SetProcessWorkingSetSize(GetCurrentProcess(), kEmpty, kEmpty);
        trims.push_back(bench::NowMs() - start);
    }
    return trims;
}

// 400 owner-drawn buttons on a shown window, each repainted through its own paint with an icon.
std::vector<double> RepaintButtonsOneByOne(int samples) {
    std::vector<double> repaints;
    constexpr int kPitch = 25;
    HWND window = CreatePlainWindow(kGridSide * kPitch + 3, kGridSide * kPitch + 3);
    if (!window)
        return repaints;
    std::vector<UniqueIcon> icons;
    for (const char* program : kPrograms)
        icons.emplace_back(ExtractIconA(GetModuleHandleA(nullptr), program, 0));
    std::vector<HWND> buttons;
    for (int i = 0; i < kGridSide * kGridSide; ++i) {
        HWND button = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 3 + (i % kGridSide) * kPitch,
                                      3 + (i / kGridSide) * kPitch, 22, 22, window, nullptr, GetModuleHandleA(nullptr),
                                      nullptr);
        buttons.push_back(button);
    }
    SetWindowPos(window, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    DrainQueue();
    for (int sample = 0; sample < samples; ++sample) {
        const double start = bench::NowMs();
        for (size_t i = 0; i < buttons.size(); ++i) {
            HICON icon = icons[(i + static_cast<size_t>(sample)) % icons.size()].get();
            SetWindowLongPtrA(buttons[i], GWLP_USERDATA, reinterpret_cast<LONG_PTR>(icon));
            InvalidateRect(buttons[i], nullptr, FALSE);
        }
        DrainQueue();
        repaints.push_back(bench::NowMs() - start);
    }
    DestroyWindow(window);
    DrainQueue();
    return repaints;
}

void ClearBenchProfile() {
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\KvBenchCompany");
}

struct Toggles {
    std::vector<double> shows, hides;
};

// Wheel clicks on the desktop, each toggling the launcher; shows and hides timed separately.
Toggles TimeToggles(CKestrovarBodyWnd& launcher, int toggles) {
    MoveCursor(kCursorX, kCursorY);
    const LPARAM point = MAKELPARAM(kCursorX, kCursorY);
    Toggles times;
    for (int i = 0; i < toggles; ++i) {
        const bool wasVisible = IsWindowVisible(launcher.hwnd()) != 0;
        const double start = bench::NowMs();
        PostMessageA(launcher.hwnd(), KVM_HOOKCLICK, reinterpret_cast<WPARAM>(GetDesktopWindow()), point);
        DrainQueue();
        const double elapsed = bench::NowMs() - start;
        if (IsWindowVisible(launcher.hwnd()) == wasVisible) {
            fprintf(stderr, "launcher_bench: a wheel click did not toggle the launcher\n");
            exit(1);
        }
        (wasVisible ? times.hides : times.shows).push_back(elapsed);
    }
    return times;
}

// Processes that keep every core busy for as long as they live.
class Spinners {
public:
    Spinners() {
        SYSTEM_INFO system = {};
        GetSystemInfo(&system);
        for (DWORD i = 0; i < system.dwNumberOfProcessors; ++i) {
            STARTUPINFOA startup = {};
            startup.cb = sizeof(startup);
            PROCESS_INFORMATION process = {};
            char command[] = "cmd.exe /c for /l %i in (0,0,1) do @rem";
            if (CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                               &process)) {
                CloseHandle(process.hThread);
                processes_.push_back(process.hProcess);
            }
        }
        Sleep(kSpinUpMs);
    }
    ~Spinners() {
        for (HANDLE process : processes_) {
            TerminateProcess(process, 0);
            WaitForSingleObject(process, INFINITE);
            CloseHandle(process);
        }
    }
    size_t Count() const { return processes_.size(); }

private:
    std::vector<HANDLE> processes_;
};

void BenchShow(CKestrovarBodyWnd& launcher, int toggles) {
    const Toggles idle = TimeToggles(launcher, toggles);
    RECT launcherRect = {};
    GetWindowRect(launcher.hwnd(), &launcherRect);
    const int width = launcherRect.right - launcherRect.left, height = launcherRect.bottom - launcherRect.top;
    const PlainTimes plainTimes = ShowPlainWindow(width, height, toggles / 2, false);
    const PlainTimes foregroundTimes = ShowPlainWindow(width, height, toggles / 2, true);
    Toggles busy;
    PlainTimes plainBusy;
    size_t spinners = 0;
    {
        Spinners spinning;
        spinners = spinning.Count();
        busy = TimeToggles(launcher, toggles);
        plainBusy = ShowPlainWindow(width, height, toggles / 2, false);
    }
    Reference plain{"reference: a plain window of the launcher's size shown at the cursor and painted",
                    plainTimes.shows};
    Reference plainHide{"reference: the plain window hidden", plainTimes.hides};
    Report("show at cursor (wheel click to painted)", idle.shows, kShowGoalMs, plain,
           "KVM_HOOKCLICK posted as the hook does, until every message and paint is handled. Beyond the plain window: "
           "the foreground switch (compare the plain window made the foreground window) and the composition of the "
           "window and its buttons into one picture before the blit");
    Report(plain.name, plain.samples, 0);
    Report("  for comparison: the plain window shown and made the foreground window", foregroundTimes.shows, 0);
    Report("hide (wheel click to parked, working set trimmed)", idle.hides, kHideGoalMs, plainHide,
           "parked and hidden, the next page prepared, the foreground handed to the window under the cursor (the "
           "launcher, being the foreground thread, hands it on directly)");
    Report(plainHide.name, plainHide.samples, 0);
    Report("  for comparison: the plain window hidden, the window under the cursor made the foreground",
           foregroundTimes.hides, 0);
    Report("  for comparison: a working-set trim alone", TrimWorkingSetAlone(toggles / 2), 0);
    Reference plainLoaded{"reference: the plain window shown, every core busy", plainBusy.shows};
    const std::string loaded = "show at cursor, every core busy (" + std::to_string(spinners) + " spinning processes)";
    Report(loaded.c_str(), busy.shows, kShowUnderLoadGoalMs, plainLoaded,
           "one cmd.exe loop per core beside the bench. The hook thread runs time-critical and the window thread "
           "above normal, but Wine 8.0 gives no thread priority to the Unix scheduler (nice stays 0, checked with ps): "
           "every X and wineserver round trip waits its turn beside the spinners, as the plain window's does");
    Report(plainLoaded.name, plainLoaded.samples, 0);
    Report("hide, every core busy", busy.hides, 0);
}

void FillItems(CKestrovarBodyWnd& launcher) {
    CKestrovarSettings& settings = launcher.Settings();
    for (int i = 0; i < kItemCount; ++i) {
        const char* program = kPrograms[i % (sizeof(kPrograms) / sizeof(kPrograms[0]))];
        settings.Items.SetItem(i, "item " + std::to_string(i), program);
    }
    settings.Col = kGridSide;
    settings.Row = kGridSide;
}

// Steps forward to the last page (and one refused step), then back to page 0, again and again.
void BenchPageStep(CKestrovarBodyWnd& launcher, int steps) {
    FillItems(launcher);
    launcher.Rebuild(false);
    if (!IsWindowVisible(launcher.hwnd()))
        launcher.ShowAtCursor();
    DrainQueue();
    MoveCursor(kCursorX, kCursorY);

    // One empty page past the last page with items is still shown.
    const int lastPage = (kItemCount - 1) / (kGridSide * kGridSide) + 1;
    std::vector<double> samples, pageShown, repainted;
    WPARAM direction = kWheelTowardsUser;
    while (static_cast<int>(samples.size()) < steps) {
        const int before = launcher.CurrentPage();
        const double start = bench::NowMs();
        PostMessageA(launcher.hwnd(), KVM_PAGESTEP, direction, 0);
        MSG msg;
        if (PeekMessageA(&msg, launcher.hwnd(), KVM_PAGESTEP, KVM_PAGESTEP, PM_REMOVE))
            DispatchMessageA(&msg);
        const double shown = bench::NowMs();
        DrainQueue();
        const double end = bench::NowMs();
        samples.push_back(end - start);
        pageShown.push_back(shown - start);
        repainted.push_back(end - shown);
        if (launcher.CurrentPage() == before) {
            if (direction == kWheelTowardsUser && before != lastPage) {
                fprintf(stderr, "launcher_bench: page step refused on page %d\n", before);
                exit(1);
            }
            direction = direction == kWheelTowardsUser ? kWheelAwayFromUser : kWheelTowardsUser;
        }
    }
    Reference oneByOne{"reference: 400 owner-drawn buttons with icons, each repainted by its own paint",
                       RepaintButtonsOneByOne(steps / 4 + 1)};
    Report("page step, 20 x 20 grid, 10,000 items (to painted)", samples, kPageStepGoalMs, oneByOne);
    Report("  of which: the page put on the 400 buttons", pageShown, 0);
    Report("  of which: the 400 buttons repainted", repainted, 0);
    Report(oneByOne.name, oneByOne.samples, 0);
    launcher.Settings().Items.RemoveAllItems();  // nothing to save at the end
}

}  // namespace

int main(int argc, char** argv) {
    const int toggles = argc > 1 ? atoi(argv[1]) : 400;
    const int pageSteps = argc > 2 ? atoi(argv[2]) : 200;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    ClearBenchProfile();
    RegistryProfile profile(kBenchCompany, "KvBench");
    profile.WriteInt("Status", "ShowTaskTrayIcon", 0);
    profile.WriteInt("Status", "HotkeyShow", 0);
    profile.WriteInt("Status", "HotkeyNext", 0);
    profile.WriteInt("Status", "HotkeyPrev", 0);
    {
        CKestrovarBodyWnd launcher(profile);
        if (!launcher.CreateModeless(nullptr) || !launcher.hwnd()) {
            fprintf(stderr, "launcher_bench: the launcher window could not be created\n");
            return 1;
        }
        DrainQueue();
        BenchShow(launcher, toggles);
        BenchPageStep(launcher, pageSteps);
        launcher.DestroyWindow();
        DrainQueue();
    }
    ClearBenchProfile();
    return 0;
}
