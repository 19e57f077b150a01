// kvprobe: a console program run with wine in the launcher's prefix. It finds the launcher's
// windows and other top-level windows, reports their state and sends them messages, so that
// shell scripts can drive and observe the real program.
//
//   kvprobe wait-launcher [ms]       wait until the launcher window exists (exit 1 on timeout)
//   kvprobe wait-ready [ms]          wait until the launcher window exists, its thread answers
//                                    messages (its start is over) and its geometry and buttons
//                                    have stopped changing
//   kvprobe wait-gone [ms]           wait until no launcher window exists
//   kvprobe quit [ms]                post WM_COMMAND 103 to the launcher and wait until it is gone
//   kvprobe launcher                 print "visible x y w h" of the launcher window
//   kvprobe buttons                  print one line "id x y w h" per launcher button (screen coords)
//   kvprobe button-index ID          print the item index the launcher button with control ID shows
//   kvprobe post MSG WPARAM LPARAM   post a message to the launcher
//   kvprobe send MSG WPARAM LPARAM   send a message to the launcher and print the result
//   kvprobe dialogs                  print each visible dialog (#32770): its caption, then its texts
//   kvprobe press-dialog CAPTION ID  send BM_CLICK to control ID of the visible dialog with CAPTION
//   kvprobe foreground               print the class and text of the foreground window
//   kvprobe wait-dialog [CAPTION] [ms]  wait for a visible dialog (#32770), with that caption if
//                                    given and not empty; print its caption
//   kvprobe idle [ms]                sleep (keeps the prefix's system processes running between
//                                    the short-lived programs of a test)
//   kvprobe find-class CLASS [ms]    wait for a visible top-level window of that class; print its handle
#include <windows.h>

#include "launcher/messages.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char kBodyText[] = "Kestrovar Body Window!";
constexpr char kButtonText[] = "Kestrovar Button Window";

HWND FindLauncher() {
    return FindWindowA(nullptr, kBodyText);
}

bool WaitFor(bool (*condition)(), int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
        if (condition())
            return true;
        Sleep(20);
    }
    return false;
}

// The launcher's observable layout: its rectangle, visibility and buttons, as one text.
std::string LauncherSnapshot(HWND w);

// Ready means: the window exists, its thread has left its start code and pumps messages, and
// nothing about its layout changed for kStableMs.
bool WaitReady(int timeoutMs) {
    constexpr int kStableMs = 300;
    constexpr int kStepMs = 50;
    std::string last;
    int stableFor = 0;
    for (int waited = 0; waited <= timeoutMs; waited += kStepMs) {
        HWND w = FindLauncher();
        DWORD_PTR ignored = 0;
        if (w && SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored)) {
            std::string now = LauncherSnapshot(w);
            stableFor = now == last ? stableFor + kStepMs : 0;
            last = now;
            if (stableFor >= kStableMs)
                return true;
        } else {
            last.clear();
            stableFor = 0;
        }
        Sleep(kStepMs);
    }
    return false;
}

int Arg(int argc, char** argv, int i, int fallback) {
    return i < argc ? static_cast<int>(strtoll(argv[i], nullptr, 0)) : fallback;
}

BOOL CALLBACK PrintButton(HWND child, LPARAM) {
    char text[64] = {};
    GetWindowTextA(child, text, sizeof(text));
    if (strcmp(text, kButtonText) != 0)
        return TRUE;
    RECT r;
    GetWindowRect(child, &r);
    printf("%d %ld %ld %ld %ld\n", GetDlgCtrlID(child), r.left, r.top, r.right - r.left, r.bottom - r.top);
    return TRUE;
}

BOOL CALLBACK PrintChildText(HWND child, LPARAM) {
    char cls[64] = {}, text[1024] = {};
    GetClassNameA(child, cls, sizeof(cls));
    GetWindowTextA(child, text, sizeof(text));
    printf("  %d %s \"%s\"\n", GetDlgCtrlID(child), cls, text);
    return TRUE;
}

BOOL CALLBACK PrintDialog(HWND window, LPARAM) {
    char cls[64] = {}, text[1024] = {};
    GetClassNameA(window, cls, sizeof(cls));
    if (strcmp(cls, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    GetWindowTextA(window, text, sizeof(text));
    printf("dialog \"%s\"\n", text);
    EnumChildWindows(window, &PrintChildText, 0);
    return TRUE;
}

BOOL CALLBACK AppendButton(HWND child, LPARAM param) {
    char text[64] = {};
    GetWindowTextA(child, text, sizeof(text));
    if (strcmp(text, kButtonText) != 0)
        return TRUE;
    RECT r;
    GetWindowRect(child, &r);
    char line[96];
    snprintf(line, sizeof(line), "%d %ld %ld %ld %ld %d;", GetDlgCtrlID(child), r.left, r.top, r.right, r.bottom,
             IsWindowVisible(child) ? 1 : 0);
    *reinterpret_cast<std::string*>(param) += line;
    return TRUE;
}

std::string LauncherSnapshot(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    char line[96];
    snprintf(line, sizeof(line), "%ld %ld %ld %ld %d|", r.left, r.top, r.right, r.bottom, IsWindowVisible(w) ? 1 : 0);
    std::string snapshot = line;
    EnumChildWindows(w, &AppendButton, reinterpret_cast<LPARAM>(&snapshot));
    return snapshot;
}

struct DialogSearch {
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    char cls[64] = {}, text[1024] = {};
    GetClassNameA(window, cls, sizeof(cls));
    GetWindowTextA(window, text, sizeof(text));
    bool captionMatches = !search->caption || !*search->caption || strcmp(text, search->caption) == 0;
    if (strcmp(cls, "#32770") == 0 && IsWindowVisible(window) && captionMatches) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

int WaitDialog(const char* caption, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 50) {
        DialogSearch search = {caption, nullptr};
        EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            char text[1024] = {};
            GetWindowTextA(search.found, text, sizeof(text));
            printf("%s\n", text);
            return 0;
        }
        Sleep(50);
    }
    return 1;
}

int Launcher() {
    HWND w = FindLauncher();
    if (!w)
        return 1;
    RECT r;
    GetWindowRect(w, &r);
    printf("%d %ld %ld %ld %ld\n", IsWindowVisible(w) ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
}

int Foreground() {
    HWND w = GetForegroundWindow();
    char cls[256] = {}, text[1024] = {};
    if (w) {
        GetClassNameA(w, cls, sizeof(cls));
        GetWindowTextA(w, text, sizeof(text));
    }
    printf("%s\t%s\n", cls, text);
    return 0;
}

int FindClassWindow(const char* cls, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 50) {
        HWND w = FindWindowA(cls, nullptr);
        if (w && IsWindowVisible(w)) {
            printf("%lld\n", static_cast<long long>(reinterpret_cast<LONG_PTR>(w)));
            return 0;
        }
        Sleep(50);
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: kvprobe COMMAND ...\n");
        return 2;
    }
    std::string command = argv[1];
    if (command == "wait-launcher")
        return WaitFor([] { return FindLauncher() != nullptr; }, Arg(argc, argv, 2, 10000)) ? 0 : 1;
    if (command == "wait-ready")
        return WaitReady(Arg(argc, argv, 2, 20000)) ? 0 : 1;
    if (command == "wait-dialog")
        return WaitDialog(argc >= 3 ? argv[2] : "", Arg(argc, argv, 3, 10000));
    if (command == "wait-gone")
        return WaitFor([] { return FindLauncher() == nullptr; }, Arg(argc, argv, 2, 10000)) ? 0 : 1;
    if (command == "quit") {
        HWND w = FindLauncher();
        if (!w)
            return 1;
        PostMessageA(w, WM_COMMAND, 103, 0);
        return WaitFor([] { return FindLauncher() == nullptr; }, Arg(argc, argv, 2, 10000)) ? 0 : 1;
    }
    if (command == "launcher")
        return Launcher();
    if (command == "button-index" && argc >= 3) {
        HWND button = FindLauncher() ? GetDlgItem(FindLauncher(), Arg(argc, argv, 2, 0)) : nullptr;
        if (!button)
            return 1;
        printf("%lld\n", static_cast<long long>(SendMessageA(button, KVM_GETINDEX, 0, 0)));
        return 0;
    }
    if (command == "buttons") {
        HWND w = FindLauncher();
        if (!w)
            return 1;
        EnumChildWindows(w, &PrintButton, 0);
        return 0;
    }
    if (command == "post" || command == "send") {
        HWND w = FindLauncher();
        if (!w || argc < 5)
            return 1;
        UINT msg = static_cast<UINT>(Arg(argc, argv, 2, 0));
        WPARAM wp = static_cast<WPARAM>(Arg(argc, argv, 3, 0));
        LPARAM lp = static_cast<LPARAM>(Arg(argc, argv, 4, 0));
        if (command == "post")
            return PostMessageA(w, msg, wp, lp) ? 0 : 1;
        printf("%lld\n", static_cast<long long>(SendMessageA(w, msg, wp, lp)));
        return 0;
    }
    if (command == "dialogs") {
        EnumWindows(&PrintDialog, 0);
        return 0;
    }
    if (command == "press-dialog" && argc >= 4) {
        DialogSearch search = {argv[2], nullptr};
        EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
        HWND control = search.found ? GetDlgItem(search.found, Arg(argc, argv, 3, IDOK)) : nullptr;
        if (!control)
            return 1;
        SendMessageA(control, BM_CLICK, 0, 0);
        return 0;
    }
    if (command == "idle") {
        Sleep(static_cast<DWORD>(Arg(argc, argv, 2, 3600 * 1000)));
        return 0;
    }
    if (command == "foreground")
        return Foreground();
    if (command == "find-class" && argc >= 3)
        return FindClassWindow(argv[2], Arg(argc, argv, 3, 5000));
    fprintf(stderr, "kvprobe: unknown command %s\n", command.c_str());
    return 2;
}
