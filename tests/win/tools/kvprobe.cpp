// kvprobe: a console program run with wine in the launcher's prefix. It finds the launcher's
// windows and other top-level windows, reports their state and sends them messages, so that
// shell scripts can drive and observe the real program. It reads the system's texts in UTF-16
// and takes and prints UTF-8, whatever the system's code page, so that a script sees every name
// exactly as the system holds it.
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
//   kvprobe code-page                print the system's ANSI code page
//   kvprobe menu                     print the entries of the visible popup menu that opened last,
//                                    one a line (a separator is an empty line), each submenu's
//                                    entries after it, indented by two spaces
//   kvprobe load-library NAME FUNCTION  load the library NAME beside the probe into the launcher's
//                                    process for good, call its export FUNCTION(nullptr) there
//                                    and print what it returns
//   kvprobe registry KEY             print every value under KEY (HKCU\... or HKLM\...) as lines
//                                    "SUBKEY<TAB>NAME<TAB>TYPE<TAB>DATA", SUBKEY relative to KEY;
//                                    REG_DWORD in decimal, REG_BINARY in hex digits
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
//   kvprobe page-columns CAPTION ID           print the column headings of a list view, one a line
//   kvprobe page-select-row CAPTION ID ROW    select and focus a row of a list view
//   kvprobe dialog-settext CAPTION ID TEXT    set the text of control ID of the visible dialog CAPTION
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>

#include "items/messages.h"
#include "menu_texts.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;  // UTF-8, the command first

constexpr wchar_t kBodyText[] = L"Kestrovar Body Window!";
constexpr wchar_t kButtonText[] = L"Kestrovar Button Window";
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr wchar_t kMenuClass[] = L"#32768";

// The conversions name UTF-8: the probe's texts must not depend on the system's code page.
std::wstring Wide(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8(const wchar_t* wide, int length = -1) {
    if (length < 0)
        length = lstrlenW(wide);
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8.data(), n, nullptr, nullptr);
    return utf8;
}

void PrintLine(const std::string& utf8) {
    printf("%s\n", utf8.c_str());
}

std::wstring ClassOf(HWND window) {
    wchar_t cls[256] = {};
    GetClassNameW(window, cls, 256);
    return cls;
}

// Our own top-level windows (their title or a dialog caption), read in this process.
std::wstring TitleOf(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

HWND FindLauncher() {
    return FindWindowW(nullptr, kBodyText);
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
        if (w && SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored)) {
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

int Arg(const Args& args, size_t i, int fallback) {
    return i < args.size() ? static_cast<int>(strtoll(args[i].c_str(), nullptr, 0)) : fallback;
}

// The screen rectangle of a launcher button; false for the launcher's other children.
bool LauncherButtonRect(HWND child, RECT* r) {
    if (TitleOf(child) != kButtonText)
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
    const std::wstring cls = ClassOf(child);
    wchar_t text[1024] = {};
    // The text of a picture static is the picture's resource name, not text.
    const LONG_PTR type = GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK;
    const bool picture = lstrcmpiW(cls.c_str(), L"Static") == 0 && (type == SS_ICON || type == SS_BITMAP);
    // WM_GETTEXT, not GetWindowText: for a window of another process the latter returns the
    // creation text, so an edit box would read as empty.
    DWORD_PTR length = 0;
    if (!picture)
        SendMessageTimeoutW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &length);
    printf("  %d %s \"%s\"\n", GetDlgCtrlID(child), Utf8(cls.c_str()).c_str(), Utf8(text).c_str());
    return TRUE;
}

BOOL CALLBACK PrintDialog(HWND window, LPARAM) {
    if (ClassOf(window) != kDialogClass || !IsWindowVisible(window))
        return TRUE;
    printf("dialog \"%s\"\n", Utf8(TitleOf(window).c_str()).c_str());
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
    std::wstring caption;  // empty: any
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    const bool captionMatches = search->caption.empty() || TitleOf(window) == search->caption;
    if (ClassOf(window) == kDialogClass && IsWindowVisible(window) && captionMatches) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindVisibleDialog(const std::string& caption) {
    DialogSearch search = {Wide(caption), nullptr};
    EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int WaitDialog(const std::string& caption, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 50) {
        if (HWND dialog = FindVisibleDialog(caption)) {
            PrintLine(Utf8(TitleOf(dialog).c_str()));
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
    const std::wstring cls = ClassOf(window);
    auto* counts = reinterpret_cast<int*>(param);
    if (IsWindowVisible(window) && cls == kDialogClass && window != FindLauncher())
        ++counts[0];
    if (IsWindowVisible(window) && cls == kMenuClass)
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
    const long long index = first ? static_cast<long long>(SendMessageW(first, KVM_GETINDEX, 0, 0)) : -1;
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
    std::wstring cls, text;
    if (w) {
        cls = ClassOf(w);
        text = TitleOf(w);
    }
    printf("%s\t%s\n", Utf8(cls.c_str()).c_str(), Utf8(text.c_str()).c_str());
    return 0;
}

HWND FindClass(const std::string& cls) {
    return FindWindowW(Wide(cls).c_str(), nullptr);
}

int FindClassWindow(const std::string& cls, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 50) {
        HWND w = FindClass(cls);
        if (w && IsWindowVisible(w)) {
            printf("%lld\n", static_cast<long long>(reinterpret_cast<LONG_PTR>(w)));
            return 0;
        }
        Sleep(50);
    }
    return 1;
}

// Memory in the process that owns a window, for list-view messages that carry pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_CREATE_THREAD |
                                   PROCESS_QUERY_INFORMATION,
                               FALSE, pid);
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
    HANDLE process() const { return process_; }
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

// Runs FUNCTION(parameter) as a thread of another process and waits for it; its exit code.
DWORD CallInProcess(HANDLE process, const void* function, const void* parameter) {
    HANDLE thread =
        CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(const_cast<void*>(function)),
                           const_cast<void*>(parameter), 0, nullptr);
    if (!thread)
        return 0;
    DWORD code = 0;
    if (WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0)
        GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    return code;
}

HMODULE RemoteModule(HANDLE process, const wchar_t* name) {
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!EnumProcessModules(process, modules, sizeof(modules), &bytes))
        return nullptr;
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
        wchar_t base[MAX_PATH] = {};
        if (GetModuleBaseNameW(process, modules[i], base, MAX_PATH) && lstrcmpiW(base, name) == 0)
            return modules[i];
    }
    return nullptr;
}

constexpr size_t kPathBytes = MAX_PATH * sizeof(wchar_t);

// Loads NAME, a library beside the probe, into the process of remote (whose buffer starts with
// room for its path) and returns the address of its exported FUNCTION there, or nullptr. The
// system's libraries lie at the same address in both processes; ours is found by name.
void* LoadIntoProcess(RemoteBuffer& remote, const wchar_t* name, const char* function, HMODULE& loaded) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring library = path;
    library = library.substr(0, library.rfind(L'\\') + 1) + name;
    HMODULE local = LoadLibraryW(library.c_str());
    FARPROC address = local ? GetProcAddress(local, function) : nullptr;
    if (!address || !remote.base() || !remote.Write(0, library.c_str(), (library.size() + 1) * sizeof(wchar_t))) {
        fprintf(stderr, "kvprobe: %s\n", address ? "no memory in the other process" : "no such library or function");
        return nullptr;
    }
    HMODULE kernel = GetModuleHandleW(L"kernel32");
    CallInProcess(remote.process(), reinterpret_cast<void*>(GetProcAddress(kernel, "LoadLibraryW")), remote.base());
    loaded = RemoteModule(remote.process(), name);
    if (!loaded) {
        fprintf(stderr, "kvprobe: the other process did not load the library\n");
        return nullptr;
    }
    return reinterpret_cast<char*>(loaded) + (reinterpret_cast<char*>(address) - reinterpret_cast<char*>(local));
}

// Loads a library beside the probe into the launcher's process for good, calls its FUNCTION
// there and prints what it returns.
int LoadIntoLauncher(const std::string& name, const std::string& function) {
    HWND launcher = FindLauncher();
    if (!launcher)
        return 1;
    RemoteBuffer remote(launcher, kPathBytes);
    HMODULE loaded = nullptr;
    void* address = LoadIntoProcess(remote, Wide(name).c_str(), function.c_str(), loaded);
    if (!address)
        return 1;
    printf("%lu\n", static_cast<unsigned long>(CallInProcess(remote.process(), address, nullptr)));
    return 0;
}

// The entries of the popup menu in front (the one that opened last), submenus indented. A menu
// handle means nothing in another process under Wine, so the texts are read by our library,
// loaded into the menu's process for the call.
int PrintMenu() {
    HWND window = FindClass("#32768");
    DWORD pid = 0;
    if (!window || !IsWindowVisible(window) || !GetWindowThreadProcessId(window, &pid))
        return 1;
    RemoteBuffer remote(window, kPathBytes + kMenuTextUnits * sizeof(wchar_t));
    HMODULE loaded = nullptr;
    void* function = LoadIntoProcess(remote, kMenuTextsLibrary, kMenuTextsFunction, loaded);
    if (!function)
        return 1;
    const DWORD units = CallInProcess(remote.process(), function, remote.base() + kPathBytes);
    HMODULE kernel = GetModuleHandleW(L"kernel32");
    CallInProcess(remote.process(), reinterpret_cast<void*>(GetProcAddress(kernel, "FreeLibrary")), loaded);
    std::vector<wchar_t> text(kMenuTextUnits + 1, L'\0');
    if (units == 0 || !remote.Read(kPathBytes, text.data(), kMenuTextUnits * sizeof(wchar_t)))
        return 1;
    printf("%s", Utf8(text.data()).c_str());
    return 0;
}

// --- the registry ------------------------------------------------------------------------------

std::string RegistryData(DWORD type, const std::vector<BYTE>& data, DWORD size) {
    const auto* wide = reinterpret_cast<const wchar_t*>(data.data());
    int units = static_cast<int>(size / sizeof(wchar_t));
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
            while (units > 0 && wide[units - 1] == L'\0')
                --units;
            return Utf8(wide, units);
        case REG_DWORD: {
            DWORD value = 0;
            memcpy(&value, data.data(), std::min<size_t>(size, sizeof(value)));
            return std::to_string(value);
        }
        default: {
            std::string hex;
            char digits[3];
            for (DWORD i = 0; i < size; ++i) {
                snprintf(digits, sizeof(digits), "%02X", data[i]);
                hex += digits;
            }
            return hex;
        }
    }
}

const char* RegistryTypeName(DWORD type) {
    switch (type) {
        case REG_SZ:
            return "REG_SZ";
        case REG_EXPAND_SZ:
            return "REG_EXPAND_SZ";
        case REG_DWORD:
            return "REG_DWORD";
        case REG_BINARY:
            return "REG_BINARY";
        case REG_MULTI_SZ:
            return "REG_MULTI_SZ";
        default:
            return "REG_NONE";
    }
}

void PrintRegistryKey(HKEY key, const std::string& relative) {
    DWORD subkeys = 0, maxSubkey = 0, values = 0, maxName = 0, maxData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &maxSubkey, nullptr, &values, &maxName, &maxData,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return;
    std::vector<wchar_t> name(maxName + 2);
    std::vector<BYTE> data(maxData + 2);
    for (DWORD i = 0; i < values; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size()), size = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            continue;
        printf("%s\t%s\t%s\t%s\n", relative.c_str(), Utf8(name.data(), static_cast<int>(nameLength)).c_str(),
               RegistryTypeName(type), RegistryData(type, data, size).c_str());
    }
    std::vector<wchar_t> subkey(maxSubkey + 2);
    for (DWORD i = 0; i < subkeys; ++i) {
        DWORD length = static_cast<DWORD>(subkey.size());
        if (RegEnumKeyExW(key, i, subkey.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        HKEY child = nullptr;
        if (RegOpenKeyExW(key, subkey.data(), 0, KEY_READ, &child) != ERROR_SUCCESS)
            continue;
        const std::string name8 = Utf8(subkey.data(), static_cast<int>(length));
        PrintRegistryKey(child, relative.empty() ? name8 : relative + "\\" + name8);
        RegCloseKey(child);
    }
}

int PrintRegistry(const std::string& path) {
    const size_t slash = path.find('\\');
    const std::string hive = path.substr(0, slash);
    HKEY root = hive == "HKCU" || hive == "HKEY_CURRENT_USER"    ? HKEY_CURRENT_USER
                : hive == "HKLM" || hive == "HKEY_LOCAL_MACHINE" ? HKEY_LOCAL_MACHINE
                                                                 : nullptr;
    HKEY key = nullptr;
    const std::wstring sub = slash == std::string::npos ? L"" : Wide(path.substr(slash + 1));
    if (!root || RegOpenKeyExW(root, sub.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 1;
    PrintRegistryKey(key, "");
    RegCloseKey(key);
    return 0;
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
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// Control id of the current page (direct children first, then deeper ones), else of the sheet.
HWND PageControl(const std::string& caption, int id) {
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

constexpr int kRemoteTextUnits = 1024;
constexpr size_t kRemoteTextBytes = kRemoteTextUnits * sizeof(wchar_t);

// A text the owner of a list view writes into the remote buffer after the structure that asks
// for it (an LVITEMW or an LVCOLUMNW, whose pszText points there).
template <typename Request>
std::string RemoteText(HWND list, RemoteBuffer& remote, Request request, UINT msg, WPARAM wParam) {
    request.cchTextMax = kRemoteTextUnits;
    request.pszText = reinterpret_cast<wchar_t*>(remote.base() + sizeof(Request));
    wchar_t text[kRemoteTextUnits + 1] = {};
    remote.Write(0, &request, sizeof(request));
    remote.Write(sizeof(Request), text, sizeof(wchar_t));
    SendMessageW(list, msg, wParam, reinterpret_cast<LPARAM>(remote.base()));
    remote.Read(sizeof(Request), text, kRemoteTextBytes);
    return Utf8(text);
}

std::string ListViewCell(HWND list, RemoteBuffer& remote, int row, int column) {
    LVITEMW item = {};
    item.iSubItem = column;
    return RemoteText(list, remote, item, LVM_GETITEMTEXTW, static_cast<WPARAM>(row));
}

int PrintColumns(HWND list) {
    RemoteBuffer remote(list, sizeof(LVCOLUMNW) + kRemoteTextBytes);
    if (ClassOf(list) != WC_LISTVIEWW || !remote.base())
        return 1;
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int c = 0; c < columns; ++c) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT;
        PrintLine(RemoteText(list, remote, column, LVM_GETCOLUMNW, static_cast<WPARAM>(c)));
    }
    return 0;
}

int PrintItems(HWND control) {
    const std::wstring cls = ClassOf(control);
    if (lstrcmpiW(cls.c_str(), L"ListBox") == 0 || lstrcmpiW(cls.c_str(), L"ComboBox") == 0) {
        const bool list = lstrcmpiW(cls.c_str(), L"ListBox") == 0;
        const int count = static_cast<int>(SendMessageW(control, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            const UINT lengthMsg = list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN;
            if (SendMessageW(control, lengthMsg, static_cast<WPARAM>(i), 0) > kRemoteTextUnits)
                return 1;
            wchar_t text[kRemoteTextUnits + 1] = {};
            SendMessageW(control, list ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(text));
            PrintLine(Utf8(text));
        }
        return 0;
    }
    if (cls == WC_LISTVIEWW) {
        RemoteBuffer remote(control, sizeof(LVITEMW) + kRemoteTextBytes);
        if (!remote.base())
            return 1;
        const int rows = static_cast<int>(SendMessageW(control, LVM_GETITEMCOUNT, 0, 0));
        for (int r = 0; r < rows; ++r)
            printf("%s\t%s\n", ListViewCell(control, remote, r, 0).c_str(),
                   ListViewCell(control, remote, r, 1).c_str());
        return 0;
    }
    return 1;
}

int SelectListViewRow(HWND list, int row) {
    RemoteBuffer remote(list, sizeof(LVITEMW));
    if (!remote.base())
        return 1;
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    remote.Write(0, &item, sizeof(item));
    return SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.base())) ? 0
                                                                                                                   : 1;
}

int PrintControl(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    printf("%d %d %ld %ld %ld %ld %d\n", IsWindowEnabled(control) ? 1 : 0,
           static_cast<int>(SendMessageW(control, BM_GETCHECK, 0, 0)), r.left, r.top, r.right - r.left,
           r.bottom - r.top, IsWindowVisible(control) ? 1 : 0);
    return 0;
}

int SheetCommand(const Args& args) {
    if (args.size() < 3)
        return 2;
    const std::string& command = args[0];
    const std::string& caption = args[1];
    if (command == "sheet-page") {
        HWND sheet = FindVisibleDialog(caption);
        if (!sheet)
            return 1;
        printf("%lld\n", static_cast<long long>(SendMessageW(sheet, PSM_SETCURSEL, Arg(args, 2, 0), 0)));
        return 0;
    }
    if (command == "dialog-settext") {
        HWND dialog = FindVisibleDialog(caption);
        HWND control = dialog ? GetDlgItem(dialog, Arg(args, 2, 0)) : nullptr;
        if (!control || args.size() < 4)
            return 1;
        const std::wstring text = Wide(args[3]);
        return SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) ? 0 : 1;
    }
    const int id = Arg(args, 2, 0);
    HWND control = PageControl(caption, id);
    if (!control)
        return 1;
    if (command == "page-send" && args.size() >= 6) {
        const auto msg = static_cast<UINT>(Arg(args, 3, 0));
        const LRESULT result =
            SendMessageW(control, msg, static_cast<WPARAM>(Arg(args, 4, 0)), static_cast<LPARAM>(Arg(args, 5, 0)));
        printf("%lld\n", static_cast<long long>(result));
        return 0;
    }
    if (command == "page-notify" && args.size() >= 4) {
        HWND page = CurrentPage(FindVisibleDialog(caption));
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, Arg(args, 3, 0)), reinterpret_cast<LPARAM>(control));
        return 0;
    }
    if (command == "page-click")
        return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 1;
    if (command == "page-control")
        return PrintControl(control);
    if (command == "page-items")
        return PrintItems(control);
    if (command == "page-columns")
        return PrintColumns(control);
    if (command == "page-select-row" && args.size() >= 4)
        return SelectListViewRow(control, Arg(args, 3, 0));
    return 2;
}

// NIM_MODIFY that changes nothing succeeds only for an entry that exists.
bool LoadingTrayIconShown() {
    HWND w = FindLauncher();
    if (!w)
        return false;
    NOTIFYICONDATAW data = {};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = w;
    data.uID = 128;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
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

int SendOrPost(const Args& args, HWND w, size_t first) {
    if (!w || args.size() < first + 3)
        return 1;
    const auto msg = static_cast<UINT>(Arg(args, first, 0));
    const auto wp = static_cast<WPARAM>(Arg(args, first + 1, 0));
    const auto lp = static_cast<LPARAM>(Arg(args, first + 2, 0));
    if (args[0] == "post")
        return PostMessageW(w, msg, wp, lp) ? 0 : 1;
    printf("%lld\n", static_cast<long long>(SendMessageW(w, msg, wp, lp)));
    return 0;
}

int Run(const Args& args) {
    const std::string& command = args[0];
    const size_t argc = args.size();
    if (command == "wait-launcher")
        return WaitFor([] { return FindLauncher() != nullptr; }, Arg(args, 1, 10000)) ? 0 : 1;
    if (command == "wait-ready")
        return WaitReady(Arg(args, 1, 20000)) ? 0 : 1;
    if (command == "wait-dialog")
        return WaitDialog(argc >= 2 ? args[1] : "", Arg(args, 2, 10000));
    if (command == "settle-at" && argc >= 3) {
        static POINT wanted;
        wanted = POINT{Arg(args, 1, 0), Arg(args, 2, 0)};
        const auto there = [] {
            POINT now = {};
            return GetCursorPos(&now) && now.x == wanted.x && now.y == wanted.y;
        };
        const int timeoutMs = Arg(args, 3, 5000);
        return WaitFor(there, timeoutMs) && WaitReady(timeoutMs) ? 0 : 1;
    }
    if (command == "wait-gone")
        return WaitFor([] { return FindLauncher() == nullptr; }, Arg(args, 1, 10000)) ? 0 : 1;
    if (command == "quit") {
        HWND w = FindLauncher();
        if (!w)
            return 1;
        PostMessageW(w, WM_COMMAND, 103, 0);
        return WaitFor([] { return FindLauncher() == nullptr; }, Arg(args, 1, 10000)) ? 0 : 1;
    }
    if (command == "launcher")
        return PrintWindowRect(FindLauncher());
    if (command == "state")
        return argc < 2 || WaitReady(Arg(args, 1, 0)) ? State() : 1;
    if (command == "button-index" && argc >= 2) {
        HWND button = FindLauncher() ? GetDlgItem(FindLauncher(), Arg(args, 1, 0)) : nullptr;
        if (!button)
            return 1;
        printf("%lld\n", static_cast<long long>(SendMessageW(button, KVM_GETINDEX, 0, 0)));
        return 0;
    }
    if (command == "buttons") {
        HWND w = FindLauncher();
        if (!w)
            return 1;
        EnumChildWindows(w, &PrintButton, 0);
        return 0;
    }
    if (command == "post" || command == "send")
        return SendOrPost(args, FindLauncher(), 1);
    if (command == "dialogs") {
        EnumWindows(&PrintDialog, 0);
        return 0;
    }
    if (command == "press-dialog" && argc >= 3) {
        HWND dialog = FindVisibleDialog(args[1]);
        HWND control = dialog ? GetDlgItem(dialog, Arg(args, 2, IDOK)) : nullptr;
        if (!control)
            return 1;
        SendMessageW(control, BM_CLICK, 0, 0);
        return 0;
    }
    if (command == "idle") {
        Sleep(static_cast<DWORD>(Arg(args, 1, 3600 * 1000)));
        return 0;
    }
    if (command == "foreground")
        return Foreground();
    if (command == "code-page") {
        printf("%u\n", GetACP());
        return 0;
    }
    if (command == "menu")
        return PrintMenu();
    if (command == "load-library" && argc >= 3)
        return LoadIntoLauncher(args[1], args[2]);
    if (command == "registry" && argc >= 2)
        return PrintRegistry(args[1]);
    if (command == "close" && argc >= 2) {
        HWND w = FindClass(args[1]);
        return w && PostMessageW(w, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (command == "class-text" && argc >= 2) {
        HWND w = FindClass(args[1]);
        if (!w)
            return 1;
        PrintLine(Utf8(TitleOf(w).c_str()));
        return 0;
    }
    if (command == "class-send" && argc >= 5)
        return SendOrPost(args, FindClass(args[1]), 2);
    if (command == "window" && argc >= 2)
        return PrintWindowRect(FindClass(args[1]));
    if (command == "tray-icon" && argc >= 2)
        return WaitTrayIcon(args[1], Arg(args, 2, 10000));
    if (command == "find-class" && argc >= 2)
        return FindClassWindow(args[1], Arg(args, 2, 5000));
    if (command.rfind("page-", 0) == 0 || command.rfind("sheet-", 0) == 0 || command == "dialog-settext") {
        const int status = SheetCommand(args);
        if (status != 2)
            return status;
    }
    fprintf(stderr, "kvprobe: unknown command %s\n", command.c_str());
    return 2;
}

// One command a line: its words, each ended by 0x1F.
int Serve() {
    constexpr char kWordEnd = '\x1f';
    constexpr char kAnswerEnd = '\x1e';
    std::string line;
    while (std::getline(std::cin, line)) {
        Args args;
        for (size_t start = 0, end; (end = line.find(kWordEnd, start)) != std::string::npos; start = end + 1)
            args.push_back(line.substr(start, end - start));
        const int status = args.empty() ? 2 : Run(args);
        printf("%c%d\n", kAnswerEnd, status);
        fflush(stdout);
    }
    return 0;
}

// The command line's words after the program name, read in UTF-16.
Args CommandLineArgs() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    Args args;
    for (int i = 1; argv && i < argc; ++i)
        args.push_back(Utf8(argv[i]));
    LocalFree(argv);
    return args;
}

}  // namespace

int main() {
    const Args args = CommandLineArgs();
    if (args.empty()) {
        fprintf(stderr, "usage: kvprobe COMMAND ...\n");
        return 2;
    }
    // Screen coordinates in pixels whatever the launcher's DPI awareness: an unaware probe would
    // see an aware launcher's rectangles mapped to 96 DPI.
    using SetAwareFn = BOOL(WINAPI*)();
    if (auto setAware = reinterpret_cast<SetAwareFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32"), "SetProcessDPIAware"))))
        setAware();
    return args[0] == "serve" ? Serve() : Run(args);
}
