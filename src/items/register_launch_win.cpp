// Registering files on a button and starting a button's item.
#include "items/kv_button.h"

#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>

#include <memory>
#include <vector>

#include "framework/handles.h"
#include "framework/worker_thread.h"
#include "items/launch_item.h"
#include "items/launch_paths.h"
#include "launcher/messages.h"
#include "settings/cmdline.h"
#include "settings/path_probe.h"
#include "settings/kestrovar_settings.h"
#include "theme/version_info.h"

namespace {

constexpr char kOpenFileFilter[] = "全て(*.*)|*.*||";
constexpr char kOpenFileDefaultExtension[] = "*.*";
constexpr UINT kDropCountQuery = 0xFFFFFFFF;

// The process's current directory is shared by every thread. A launch changes it for the time
// of its search and of its shell call; this lock keeps two quick launches from starting a
// program in the other's folder. Only launch threads take it, and none of them sends a message
// while holding it, so the GUI thread can never end up waiting for it.
class LaunchDirectoryLock {
public:
    LaunchDirectoryLock() { InitializeCriticalSection(&section_); }
    ~LaunchDirectoryLock() { DeleteCriticalSection(&section_); }
    void Enter() { EnterCriticalSection(&section_); }
    void Leave() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

LaunchDirectoryLock g_launchDirectoryLock;

std::string CurrentDirectory() {
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0)
        return std::string();
    std::vector<char> buffer(needed + 1);
    const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    return length > 0 && length < buffer.size() ? std::string(buffer.data(), length) : std::string();
}

// Runs body with the current directory changed to folder (when it can be entered), then
// changes back, all under the launch lock.
template <typename Body>
auto InFolder(const std::string& folder, Body body) {
    g_launchDirectoryLock.Enter();
    const std::string previous = CurrentDirectory();
    if (!folder.empty())
        SetCurrentDirectoryA(folder.c_str());
    auto result = body();
    if (!previous.empty())
        SetCurrentDirectoryA(previous.c_str());
    g_launchDirectoryLock.Leave();
    return result;
}

bool PathFound(const std::string& path) {
    return GetPathAttributes(path) != 0;
}

// The program part of a command; the whole command when no part of it names a file.
void SplitForLaunch(const std::string& command, std::string& program, std::string& parameters) {
    SplitCommandLine(command, program, parameters, FileSystemProbe());
    if (program.empty()) {
        program = command;
        parameters.clear();
    }
}

const char* NullIfEmpty(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

// What a launch needs, copied on the GUI thread when the click happens: the worker never
// reads the button, which the next page display may change.
struct LaunchRequest {
    HWND launcher;  // not owned
    int index;
    std::string command;
    bool hide;
};

void LaunchItem(const LaunchRequest& request) {
    if (request.command.empty()) {
        if (request.hide)
            PostMessageA(request.launcher, KVM_HIDE, 0, 0);
        return;
    }
    std::string program, parameters;
    SplitForLaunch(request.command, program, parameters);
    const std::string folder = ProgramFolder(program);

    if (!InFolder(folder, [&] { return PathFound(program); })) {
        // The list belongs to the GUI thread: it clears the item.
        PostMessageA(request.launcher, KVM_DELETEITEM, static_cast<WPARAM>(request.index), 0);
        if (request.hide)
            SendMessageA(request.launcher, KVM_HIDE, 0, 0);
        return;
    }
    // Hidden first, so that the started program gets the foreground. Sent outside the lock.
    if (request.hide)
        SendMessageA(request.launcher, KVM_HIDE, 0, 0);

    // Shell extensions that may run the start expect COM on the calling thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    InFolder(folder, [&] {
        return ShellExecuteA(nullptr, nullptr, program.c_str(), NullIfEmpty(parameters), NullIfEmpty(folder),
                             SW_SHOWNORMAL);
    });
    if (SUCCEEDED(com))
        CoUninitialize();
}

}  // namespace

void CKVButton::RegisterFile(const std::string& path) {
    m_strCommand = path;

    SHFILEINFOA info = {};
    if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_TYPENAME | SHGFI_DISPLAYNAME))
        info = SHFILEINFOA{};
    const std::string tip = RegisteredTooltip(info.szTypeName, info.szDisplayName, path, &GetFileDescription);
    SetTooltipText(tip);

    HWND launcher = GetParent(hwnd());
    auto item = std::make_unique<CLaunchItem>();
    item->nIndex = m_nIndex;
    item->strTip = tip;
    item->strCommand = path;
    // The launcher takes the record over.
    SendMessageA(launcher, KVM_ADDITEM, 0, reinterpret_cast<LPARAM>(item.release()));

    m_hIcon = reinterpret_cast<HICON>(SendMessageA(launcher, KVM_GETICON, 0, reinterpret_cast<LPARAM>(path.c_str())));
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void CKVButton::OnDropFiles(HDROP drop) {
    std::string path;
    const UINT count = DragQueryFileA(drop, kDropCountQuery, nullptr, 0);
    if (count == 1) {
        // Sized from the query, so that no path is cut short.
        std::vector<char> buffer(DragQueryFileA(drop, 0, nullptr, 0) + 1);
        const UINT length = DragQueryFileA(drop, 0, buffer.data(), static_cast<UINT>(buffer.size()));
        path.assign(buffer.data(), length);
    }
    DragFinish(drop);
    if (!path.empty())
        RegisterFile(path);
}

// The file dialog opens at the root of the Windows directory's drive folder; the current
// directory is restored afterwards, whatever the user did in the dialog.
void CKVButton::OnRegisterRequest() {
    const std::string previous = CurrentDirectory();
    char windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(windows, sizeof(windows));
    const std::string root = length < sizeof(windows) ? WindowsDirectoryRoot(windows) : std::string();
    if (!root.empty())
        SetCurrentDirectoryA(root.c_str());

    const std::string filter = FileDialogFilter(kOpenFileFilter);
    char file[MAX_PATH] = {};
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof(dialog);
    // Owned by the launcher window so that the dialog is modal to it and comes up in front.
    dialog.hwndOwner = GetParent(hwnd());
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof(file);
    dialog.lpstrInitialDir = NullIfEmpty(root);
    dialog.lpstrDefExt = kOpenFileDefaultExtension;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_EXPLORER;
    const bool chosen = GetOpenFileNameA(&dialog) != FALSE;

    if (!previous.empty())
        SetCurrentDirectoryA(previous.c_str());
    if (chosen)
        RegisterFile(file);
}

void CKVButton::OnOpenLink() {
    if (m_strCommand.empty() || !m_hIcon)
        return;
    std::string program, parameters;
    SplitForLaunch(m_strCommand, program, parameters);
    const std::string folder = ProgramFolder(program);
    if (!folder.empty())
        ShellExecuteA(nullptr, "open", folder.c_str(), nullptr, nullptr, SW_SHOW);
    if (m_pSettings && m_pSettings->HideOption)
        SendMessageA(GetParent(hwnd()), KVM_HIDE, 0, 0);
}

void CKVButton::StartLaunch() {
    LaunchRequest request{GetParent(hwnd()), m_nIndex, m_strCommand, m_pSettings && m_pSettings->HideOption};
    StartWorkerThread([request] { LaunchItem(request); }, THREAD_PRIORITY_HIGHEST);
}
