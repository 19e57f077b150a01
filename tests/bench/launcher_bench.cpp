// launcher_bench: times the launcher window in process, on a real CKestrovarBodyWnd under Wine.
//
//   - show: a wheel click (KVM_HOOKCLICK posted as the hook library does) until the launcher is
//     visible at the cursor and every pending paint is done; the hide that follows is timed too.
//   - page step: KVM_PAGESTEP on a 20 x 20 grid holding 10,000 items, until the page is shown
//     and painted.
//
// Prints one JSON object per measurement on stdout:
//   {"name": ..., "unit": "ms", "samples": N, "p50": ..., "p95": ..., "max": ..., "goal_p95": ...}
// Usage: launcher_bench [SHOW_TOGGLES] [PAGE_STEPS]
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

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

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

double Percentile(std::vector<double> samples, double fraction) {
    std::sort(samples.begin(), samples.end());
    const size_t rank = static_cast<size_t>(fraction * static_cast<double>(samples.size() - 1) + 0.5);
    return samples[std::min(rank, samples.size() - 1)];
}

void Report(const char* name, const std::vector<double>& samples, double goal) {
    if (samples.empty())
        return;
    printf("{\"name\": \"%s\", \"unit\": \"ms\", \"samples\": %zu, \"p50\": %.3f, \"p95\": %.3f, \"max\": %.3f", name,
           samples.size(), Percentile(samples, 0.5), Percentile(samples, 0.95),
           *std::max_element(samples.begin(), samples.end()));
    if (goal > 0)
        printf(", \"goal_p95\": %.1f", goal);
    printf("}\n");
    fflush(stdout);
}

void ClearBenchProfile() {
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\KvBenchCompany");
}

// Wheel clicks on the desktop, each toggling the launcher; shows and hides timed separately.
void BenchShow(CKestrovarBodyWnd& launcher, int toggles) {
    MoveCursor(kCursorX, kCursorY);
    const LPARAM point = MAKELPARAM(kCursorX, kCursorY);
    std::vector<double> shows, hides;
    for (int i = 0; i < toggles; ++i) {
        const bool wasVisible = IsWindowVisible(launcher.hwnd()) != 0;
        const double start = NowMs();
        PostMessageA(launcher.hwnd(), KVM_HOOKCLICK, reinterpret_cast<WPARAM>(GetDesktopWindow()), point);
        DrainQueue();
        const double elapsed = NowMs() - start;
        if (IsWindowVisible(launcher.hwnd()) == wasVisible) {
            fprintf(stderr, "launcher_bench: a wheel click did not toggle the launcher\n");
            exit(1);
        }
        (wasVisible ? hides : shows).push_back(elapsed);
    }
    Report("show at cursor (wheel click to painted)", shows, kShowGoalMs);
    Report("hide (wheel click to parked, working set trimmed)", hides, 0);
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
        const double start = NowMs();
        PostMessageA(launcher.hwnd(), KVM_PAGESTEP, direction, 0);
        MSG msg;
        if (PeekMessageA(&msg, launcher.hwnd(), KVM_PAGESTEP, KVM_PAGESTEP, PM_REMOVE))
            DispatchMessageA(&msg);
        const double shown = NowMs();
        DrainQueue();
        const double end = NowMs();
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
    Report("page step, 20 x 20 grid, 10,000 items (to painted)", samples, kPageStepGoalMs);
    Report("  of which: the page put on the 400 buttons", pageShown, 0);
    Report("  of which: the 400 buttons repainted", repainted, 0);
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
