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
//   kvprobe state [ms]               print "visible x y w h first dialogs menus px py" in one call
//                                    (with ms, once the launcher is ready as for wait-ready):
//                                    the launcher window, the item index of its first button,
//                                    the visible dialogs (but the launcher) and menus, the pointer
//   kvprobe buttons                  print one line "id x y w h" per launcher button (screen coords)
//   kvprobe button-index ID          print the item index the launcher button with control ID shows
//   kvprobe post MSG WPARAM LPARAM   post a message to the launcher
//   kvprobe send MSG WPARAM LPARAM   send a message to the launcher and print the result
//   kvprobe dialogs                  print each visible dialog (#32770): its caption, then its texts
//   kvprobe press-dialog CAPTION ID  send BM_CLICK to control ID of the visible dialog with CAPTION
//   kvprobe foreground               print the class and text of the foreground window
//   kvprobe wait-dialog [CAPTION] [ms]  wait for a visible dialog (#32770), with that caption if
//                                    given and not empty; print its caption
//   kvprobe settle-at X Y [ms]       wait until the pointer is at (X, Y), then as wait-ready
//   kvprobe idle [ms]                sleep (keeps the prefix's system processes running between
//                                    the short-lived programs of a test)
//   kvprobe find-class CLASS [ms]    wait for a visible top-level window of that class; print its handle
//   kvprobe window CLASS             print "visible x y w h" of the top-level window of that class
//   kvprobe close CLASS              post WM_CLOSE to the top-level window of that class
//   kvprobe class-text CLASS         print the text of the top-level window of that class, shown or not
//   kvprobe class-send CLASS MSG WPARAM LPARAM   send a message to that window, print the result
//   kvprobe serve                    answer commands from standard input, one a line, its words
//                                    each ended by 0x1F; after each answer a line 0x1E and the exit
//                                    status (one program start instead of one a command)
//   kvprobe tray-icon present|absent [ms]  wait until the launcher's loading notification entry
//                                    (id 128) is in the notification area, or is not (exit 1 on
//                                    timeout); polls every 10 ms
// The settings sheet (the visible dialog with CAPTION; ID names a control of its current page,
// searched among the page's descendants, else a control of the sheet; ID 0 is the page itself):
//   kvprobe sheet-page CAPTION INDEX          show page INDEX (PSM_SETCURSEL); print the result
//   kvprobe page-send CAPTION ID MSG WP LP    send a message to the control; print the result
//   kvprobe page-notify CAPTION ID CODE       send the page WM_COMMAND from control ID with CODE
//   kvprobe page-click CAPTION ID             post BM_CLICK to the control (a click that opens a
//                                             modal dialog must not block the probe)
//   kvprobe page-control CAPTION ID           print "enabled checked x y w h visible" (screen coordinates)
//   kvprobe page-items CAPTION ID             print the entries of a list box or combo box, or the
//                                             rows of a list view as "column0<TAB>column1"
//   kvprobe page-select-row CAPTION ID ROW    select and focus a row of a list view
//   kvprobe dialog-settext CAPTION ID TEXT    set the text of control ID of the visible dialog CAPTION
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "launcher/messages.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

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

// The screen rectangle of a launcher button; false for the launcher's other children.
bool LauncherButtonRect(HWND child, RECT* r) {
    char text[64] = {};
    GetWindowTextA(child, text, sizeof(text));
    if (strcmp(text, kButtonText) != 0)
        return false;
    GetWindowRect(child, r);
    return true;
}

BOOL CALLBACK PrintButton(HWND child, LPARAM) {
    RECT r;
    if (LauncherButtonRect(child, &r))
        printf("%d %ld %ld %ld %ld\n", GetDlgCtrlID(child), r.left, r.top, r.right - r.left, r.bottom - r.top);
    return TRUE;
}

BOOL CALLBACK PrintChildText(HWND child, LPARAM) {
    char cls[64] = {}, text[1024] = {};
    GetClassNameA(child, cls, sizeof(cls));
    // The text of a picture static is the picture's resource name, not text.
    const LONG_PTR type = GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK;
    const bool picture = lstrcmpiA(cls, "Static") == 0 && (type == SS_ICON || type == SS_BITMAP);
    // WM_GETTEXT, not GetWindowText: for a window of another process the latter returns the
    // creation text, so an edit box would read as empty.
    DWORD_PTR length = 0;
    if (!picture)
        SendMessageTimeoutA(child, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                            &length);
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
    RECT r;
    if (!LauncherButtonRect(child, &r))
        return TRUE;
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

HWND FindVisibleDialog(const char* caption) {
    DialogSearch search = {caption, nullptr};
    EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int WaitDialog(const char* caption, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 50) {
        if (HWND dialog = FindVisibleDialog(caption)) {
            char text[1024] = {};
            GetWindowTextA(dialog, text, sizeof(text));
            printf("%s\n", text);
            return 0;
        }
        Sleep(50);
    }
    return 1;
}

// Prints "visible x y w h" of a window; 1 when there is none.
int PrintWindowRect(HWND w) {
    if (!w)
        return 1;
    RECT r;
    GetWindowRect(w, &r);
    printf("%d %ld %ld %ld %ld\n", IsWindowVisible(w) ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
}

BOOL CALLBACK CountDialogsAndMenus(HWND window, LPARAM param) {
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof(cls));
    auto* counts = reinterpret_cast<int*>(param);
    if (IsWindowVisible(window) && strcmp(cls, "#32770") == 0 && window != FindLauncher())
        ++counts[0];
    if (IsWindowVisible(window) && strcmp(cls, "#32768") == 0)
        ++counts[1];
    return TRUE;
}

int State() {
    HWND w = FindLauncher();
    if (!w)
        return 1;
    RECT r;
    GetWindowRect(w, &r);
    HWND first = GetDlgItem(w, kFirstButtonId);
    const long long index = first ? static_cast<long long>(SendMessageA(first, KVM_GETINDEX, 0, 0)) : -1;
    int counts[2] = {};
    EnumWindows(&CountDialogsAndMenus, reinterpret_cast<LPARAM>(counts));
    POINT pointer = {};
    GetCursorPos(&pointer);
    printf("%d %ld %ld %ld %ld %lld %d %d %ld %ld\n", IsWindowVisible(w) ? 1 : 0, r.left, r.top, r.right - r.left,
           r.bottom - r.top, index, counts[0], counts[1], pointer.x, pointer.y);
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


// --- the settings sheet ----------------------------------------------------------------------

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindDescendant(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ControlSearch*>(param);
    if (GetDlgCtrlID(child) != search->id)
        return TRUE;
    search->found = child;
    return FALSE;
}

HWND CurrentPage(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// Control id of the current page (direct children first, then deeper ones), else of the sheet.
HWND PageControl(const char* caption, int id) {
    HWND sheet = FindVisibleDialog(caption);
    if (!sheet)
        return nullptr;
    HWND page = CurrentPage(sheet);
    if (id == 0)
        return page;
    if (page) {
        if (HWND direct = GetDlgItem(page, id))
            return direct;
        ControlSearch search = {id, nullptr};
        EnumChildWindows(page, &FindDescendant, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
    }
    return GetDlgItem(sheet, id);
}

// Memory in the process that owns a window, for list-view messages that carry pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            base_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteBuffer() {
        if (base_)
            VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    char* base() const { return base_; }
    bool Write(size_t offset, const void* data, size_t n) {
        return offset + n <= size_ && WriteProcessMemory(process_, base_ + offset, data, n, nullptr);
    }
    bool Read(size_t offset, void* data, size_t n) {
        return offset + n <= size_ && ReadProcessMemory(process_, base_ + offset, data, n, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    char* base_ = nullptr;
    size_t size_;
};

constexpr int kRemoteTextBytes = 1024;

std::string ListViewCell(HWND list, RemoteBuffer& remote, int row, int column) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.cchTextMax = kRemoteTextBytes;
    item.pszText = remote.base() + sizeof(LVITEMA);
    char text[kRemoteTextBytes + 1] = {};
    remote.Write(0, &item, sizeof(item));
    remote.Write(sizeof(LVITEMA), text, 1);
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote.base()));
    remote.Read(sizeof(LVITEMA), text, kRemoteTextBytes);
    return text;
}

int PrintItems(HWND control) {
    char cls[64] = {};
    GetClassNameA(control, cls, sizeof(cls));
    char text[kRemoteTextBytes + 1] = {};
    if (_stricmp(cls, "ListBox") == 0 || _stricmp(cls, "ComboBox") == 0) {
        // Asked in UTF-16: Wine hands ANSI list texts to another process unconverted.
        const bool list = _stricmp(cls, "ListBox") == 0;
        const int count = static_cast<int>(SendMessageW(control, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            const UINT lengthMsg = list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN;
            if (SendMessageW(control, lengthMsg, i, 0) > kRemoteTextBytes)
                return 1;
            wchar_t wide[kRemoteTextBytes + 1] = {};
            SendMessageW(control, list ? LB_GETTEXT : CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
            WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
            printf("%s\n", text);
        }
        return 0;
    }
    if (_stricmp(cls, WC_LISTVIEWA) == 0) {
        RemoteBuffer remote(control, sizeof(LVITEMA) + kRemoteTextBytes);
        if (!remote.base())
            return 1;
        const int rows = static_cast<int>(SendMessageA(control, LVM_GETITEMCOUNT, 0, 0));
        for (int r = 0; r < rows; ++r)
            printf("%s\t%s\n", ListViewCell(control, remote, r, 0).c_str(),
                   ListViewCell(control, remote, r, 1).c_str());
        return 0;
    }
    return 1;
}

int SelectListViewRow(HWND list, int row) {
    RemoteBuffer remote(list, sizeof(LVITEMA));
    if (!remote.base())
        return 1;
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    remote.Write(0, &item, sizeof(item));
    return SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.base())) ? 0 : 1;
}

int PrintControl(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    printf("%d %d %ld %ld %ld %ld %d\n", IsWindowEnabled(control) ? 1 : 0,
           static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0)), r.left, r.top, r.right - r.left,
           r.bottom - r.top, IsWindowVisible(control) ? 1 : 0);
    return 0;
}

int SheetCommand(const std::string& command, int argc, char** argv) {
    if (argc < 4)
        return 2;
    const char* caption = argv[2];
    if (command == "sheet-page") {
        HWND sheet = FindVisibleDialog(caption);
        if (!sheet)
            return 1;
        printf("%lld\n", static_cast<long long>(SendMessageA(sheet, PSM_SETCURSEL, Arg(argc, argv, 3, 0), 0)));
        return 0;
    }
    if (command == "dialog-settext") {
        HWND dialog = FindVisibleDialog(caption);
        HWND control = dialog ? GetDlgItem(dialog, Arg(argc, argv, 3, 0)) : nullptr;
        if (!control || argc < 5)
            return 1;
        return SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4])) ? 0 : 1;
    }
    const int id = Arg(argc, argv, 3, 0);
    HWND control = PageControl(caption, id);
    if (!control)
        return 1;
    if (command == "page-send" && argc >= 7) {
        const auto msg = static_cast<UINT>(Arg(argc, argv, 4, 0));
        const LRESULT result = SendMessageA(control, msg, static_cast<WPARAM>(Arg(argc, argv, 5, 0)),
                                            static_cast<LPARAM>(Arg(argc, argv, 6, 0)));
        printf("%lld\n", static_cast<long long>(result));
        return 0;
    }
    if (command == "page-notify" && argc >= 5) {
        HWND page = CurrentPage(FindVisibleDialog(caption));
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, Arg(argc, argv, 4, 0)), reinterpret_cast<LPARAM>(control));
        return 0;
    }
    if (command == "page-click")
        return PostMessageA(control, BM_CLICK, 0, 0) ? 0 : 1;
    if (command == "page-control")
        return PrintControl(control);
    if (command == "page-items")
        return PrintItems(control);
    if (command == "page-select-row" && argc >= 5)
        return SelectListViewRow(control, Arg(argc, argv, 4, 0));
    return 2;
}

// NIM_MODIFY that changes nothing succeeds only for an entry that exists.
bool LoadingTrayIconShown() {
    HWND w = FindLauncher();
    if (!w)
        return false;
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = w;
    data.uID = 128;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

int WaitTrayIcon(const std::string& state, int timeoutMs) {
    const bool wanted = state == "present";
    for (int waited = 0; waited <= timeoutMs; waited += 10) {
        if (LoadingTrayIconShown() == wanted)
            return 0;
        Sleep(10);
    }
    return 1;
}

int Run(int argc, char** argv) {
    std::string command = argv[1];
    if (command == "wait-launcher")
        return WaitFor([] { return FindLauncher() != nullptr; }, Arg(argc, argv, 2, 10000)) ? 0 : 1;
    if (command == "wait-ready")
        return WaitReady(Arg(argc, argv, 2, 20000)) ? 0 : 1;
    if (command == "wait-dialog")
        return WaitDialog(argc >= 3 ? argv[2] : "", Arg(argc, argv, 3, 10000));
    if (command == "settle-at" && argc >= 4) {
        static POINT wanted;
        wanted = POINT{Arg(argc, argv, 2, 0), Arg(argc, argv, 3, 0)};
        const auto there = [] {
            POINT now = {};
            return GetCursorPos(&now) && now.x == wanted.x && now.y == wanted.y;
        };
        const int timeoutMs = Arg(argc, argv, 4, 5000);
        return WaitFor(there, timeoutMs) && WaitReady(timeoutMs) ? 0 : 1;
    }
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
        return PrintWindowRect(FindLauncher());
    if (command == "state")
        return argc < 3 || WaitReady(Arg(argc, argv, 2, 0)) ? State() : 1;
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
        HWND dialog = FindVisibleDialog(argv[2]);
        HWND control = dialog ? GetDlgItem(dialog, Arg(argc, argv, 3, IDOK)) : nullptr;
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
    if (command == "close" && argc >= 3) {
        HWND w = FindWindowA(argv[2], nullptr);
        return w && PostMessageA(w, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (command == "class-text" && argc >= 3) {
        HWND w = FindWindowA(argv[2], nullptr);
        char text[256] = {};
        if (!w)
            return 1;
        GetWindowTextA(w, text, sizeof(text));
        printf("%s\n", text);
        return 0;
    }
    if (command == "class-send" && argc >= 6) {
        HWND w = FindWindowA(argv[2], nullptr);
        if (!w)
            return 1;
        printf("%lld\n", static_cast<long long>(SendMessageA(w, static_cast<UINT>(Arg(argc, argv, 3, 0)),
                                                             static_cast<WPARAM>(Arg(argc, argv, 4, 0)),
                                                             static_cast<LPARAM>(Arg(argc, argv, 5, 0)))));
        return 0;
    }
    if (command == "window" && argc >= 3)
        return PrintWindowRect(FindWindowA(argv[2], nullptr));
    if (command == "tray-icon" && argc >= 3)
        return WaitTrayIcon(argv[2], Arg(argc, argv, 3, 10000));
    if (command == "find-class" && argc >= 3)
        return FindClassWindow(argv[2], Arg(argc, argv, 3, 5000));
    if (command.rfind("page-", 0) == 0 || command.rfind("sheet-", 0) == 0 || command == "dialog-settext") {
        const int status = SheetCommand(command, argc, argv);
        if (status != 2)
            return status;
    }
    fprintf(stderr, "kvprobe: unknown command %s\n", command.c_str());
    return 2;
}

// One command a line: "kvprobe" and the words of the line, each ended by 0x1F, as its arguments.
int Serve() {
    constexpr char kWordEnd = '\x1f';
    constexpr char kAnswerEnd = '\x1e';
    std::string line;
    while (std::getline(std::cin, line)) {
        std::vector<char*> args = {const_cast<char*>("kvprobe")};
        for (size_t start = 0, end; (end = line.find(kWordEnd, start)) != std::string::npos; start = end + 1) {
            line[end] = '\0';
            args.push_back(&line[start]);
        }
        const int status = args.size() < 2 ? 2 : Run(static_cast<int>(args.size()), args.data());
        printf("%c%d\n", kAnswerEnd, status);
        fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: kvprobe COMMAND ...\n");
        return 2;
    }
    // Screen coordinates in pixels whatever the launcher's DPI awareness: an unaware probe would
    // see an aware launcher's rectangles mapped to 96 DPI.
    using SetAwareFn = BOOL(WINAPI*)();
    if (auto setAware = reinterpret_cast<SetAwareFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32"), "SetProcessDPIAware"))))
        setAware();
    return strcmp(argv[1], "serve") == 0 ? Serve() : Run(argc, argv);
}
