// launcher_bench: times the launcher window in process, on a real CKestrovarBodyWnd under Wine.
//
//   - show: a wheel click (KVM_HOOKCLICK posted as the hook library does) until the launcher is
//     visible at the cursor and every pending paint is done; the hide that follows is timed too.
//   - page step: KVM_PAGESTEP on a 20 x 20 grid holding 10,000 items, until the page is shown
//     and painted.
//
// References in the same run: a plain popup window of the launcher's size shown at the cursor
// and painted (the least any show costs), timed in turn with the launcher's shows, and a grid of
// 400 owner-drawn buttons each repainted by its own paint with its icon (what a page step costs
// when every button paints itself).
//
// Prints one JSON object per measurement on stdout:
//   {"name": ..., "unit": "ms", "samples": N, "p50": ..., "p95": ..., "max": ..., "goal_p95": ...}
// Usage: launcher_bench [SHOW_ROUNDS] [PAGE_STEPS]
#include "bench_report.h"
#include "framework/handles.h"
#include "framework/registry_profile.h"
#include "items/messages.h"
#include "launcher/body_wnd.h"
#include "support/gui_driver.h"

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
// A show may cost at most this many times the plain window's show, at p50 and at p95.
constexpr double kShowGoalRatio = 1.3;
constexpr double kHideGoalMs = 5.0;
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

struct Reference {
    const char* name = nullptr;
    std::vector<double> samples;
};

void Report(const char* name,
            const std::vector<double>& samples,
            double goal,
            const Reference& reference = {},
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

// A show against the plain window's: its goal is a ratio at both p50 and p95.
void ReportShow(const char* name, const std::vector<double>& samples, const Reference& reference, const char* note) {
    bench::Row row;
    row.name = name;
    row.note = note;
    row.samples = samples;
    row.reference = reference.name;
    row.referenceP50 = bench::Median(reference.samples);
    const double p95 = bench::Percentile(samples, 0.95);
    const double referenceP95 = bench::Percentile(reference.samples, 0.95);
    char goal[96];
    snprintf(goal, sizeof(goal), "p50 and p95 <= %gx the reference's (p95 %.2f / %.2f = %.2fx)", kShowGoalRatio, p95,
             referenceP95, p95 / referenceP95);
    row.goal = goal;
    row.met = bench::Median(samples) <= kShowGoalRatio * row.referenceP50 && p95 <= kShowGoalRatio * referenceP95;
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

struct Times {
    std::vector<double> shows, hides;
};

// The plain window shown at the cursor and painted, then hidden; with takeForeground it is also
// made the foreground window as the launcher makes itself, and the window under the cursor gets
// it back at the hide.
void ShowPlainWindowOnce(HWND window, int width, int height, bool takeForeground, Times& times) {
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
        HWND button =
            CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 3 + (i % kGridSide) * kPitch,
                            3 + (i / kGridSide) * kPitch, 22, 22, window, nullptr, GetModuleHandleA(nullptr), nullptr);
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

// A wheel click on the desktop toggling the launcher, timed into shows or hides.
void ToggleOnce(CKestrovarBodyWnd& launcher, Times& times) {
    const LPARAM point = MAKELPARAM(kCursorX, kCursorY);
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

struct ShowTimes {
    Times launcher, plain, foreground;
};

// Rounds of a launcher show and hide, a plain window's and a plain window's that takes the
// foreground, one after the other: a load that comes and goes meets all three alike.
ShowTimes TimeShows(CKestrovarBodyWnd& launcher, int rounds) {
    kvtest::MoveCursor(kCursorX, kCursorY);
    ShowTimes times;
    if (IsWindowVisible(launcher.hwnd()))
        ToggleOnce(launcher, times.launcher);
    RECT launcherRect = {};
    GetWindowRect(launcher.hwnd(), &launcherRect);
    const int width = launcherRect.right - launcherRect.left, height = launcherRect.bottom - launcherRect.top;
    HWND plain = CreatePlainWindow(width, height);
    HWND foreground = CreatePlainWindow(width, height);
    if (!plain || !foreground) {
        fprintf(stderr, "launcher_bench: the plain windows could not be created\n");
        exit(1);
    }
    for (int i = 0; i < rounds; ++i) {
        ToggleOnce(launcher, times.launcher);
        ToggleOnce(launcher, times.launcher);
        ShowPlainWindowOnce(plain, width, height, false, times.plain);
        ShowPlainWindowOnce(foreground, width, height, true, times.foreground);
    }
    DestroyWindow(plain);
    DestroyWindow(foreground);
    DrainQueue();
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

void BenchShow(CKestrovarBodyWnd& launcher, int rounds) {
    const ShowTimes idle = TimeShows(launcher, rounds);
    ShowTimes busy;
    size_t spinners = 0;
    {
        Spinners spinning;
        spinners = spinning.Count();
        busy = TimeShows(launcher, rounds);
    }
    Reference plain{"reference: a plain window of the launcher's size shown at the cursor and painted",
                    idle.plain.shows};
    Reference plainHide{"reference: the plain window hidden", idle.plain.hides};
    ReportShow("show at cursor (wheel click to painted)", idle.launcher.shows, plain,
               "KVM_HOOKCLICK posted as the hook does, until every message and paint is handled; the references "
               "are timed in turn with it. Beyond the plain window: the foreground switch (compare the plain window "
               "made the foreground window) and the blit of the kept picture of the window and its buttons");
    Report(plain.name, plain.samples, 0);
    Report("  for comparison: the plain window shown and made the foreground window", idle.foreground.shows, 0);
    Report("hide (wheel click to parked, working set trimmed)", idle.launcher.hides, kHideGoalMs, plainHide,
           "parked and hidden, the next page and its picture prepared, the foreground handed to the window under "
           "the cursor (the launcher, being the foreground thread, hands it on directly)");
    Report(plainHide.name, plainHide.samples, 0);
    Report("  for comparison: the plain window hidden, the window under the cursor made the foreground",
           idle.foreground.hides, 0);
    Report("  for comparison: a working-set trim alone", TrimWorkingSetAlone(rounds), 0);
    Reference plainLoaded{"reference: the plain window shown, every core busy", busy.plain.shows};
    const std::string loaded = "show at cursor, every core busy (" + std::to_string(spinners) + " spinning processes)";
    ReportShow(loaded.c_str(), busy.launcher.shows, plainLoaded,
               "one cmd.exe loop per core beside the bench. The hook thread runs time-critical and the window "
               "thread above normal, but Wine 8.0 gives no thread priority to the Unix scheduler (nice stays 0, "
               "checked with ps): every X and wineserver round trip waits its turn beside the spinners, as the "
               "plain window's does");
    Report(plainLoaded.name, plainLoaded.samples, 0);
    Report("  for comparison: the plain window shown and made the foreground window, every core busy",
           busy.foreground.shows, 0);
    Report("hide, every core busy", busy.launcher.hides, 0);
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
    kvtest::MoveCursor(kCursorX, kCursorY);

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
    const int showRounds = argc > 1 ? atoi(argv[1]) : 200;
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
        BenchShow(launcher, showRounds);
        BenchPageStep(launcher, pageSteps);
        launcher.DestroyWindow();
        DrainQueue();
    }
    ClearBenchProfile();
    return 0;
}
