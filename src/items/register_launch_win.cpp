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

// The program is found as the shell would find it from the process's current directory, which
// nothing changes after the start; it runs in its own folder through the shell's directory
// argument, so no thread ever changes the current directory of the whole process.
void LaunchItem(const LaunchRequest& request) {
    if (request.command.empty()) {
        if (request.hide)
            PostMessageA(request.launcher, KVM_HIDE, 0, 0);
        return;
    }
    std::string program, parameters;
    SplitForLaunch(request.command, program, parameters);
    const std::string folder = ProgramFolder(program);

    if (!PathFound(program)) {
        // The list belongs to the GUI thread: it clears the item. An item whose drive or share
        // is away stays for when it is back.
        if (!IsVolumeUnreachable(request.command))
            PostMessageA(request.launcher, KVM_DELETEITEM, static_cast<WPARAM>(request.index), 0);
        if (request.hide)
            SendMessageA(request.launcher, KVM_HIDE, 0, 0);
        return;
    }
    // Hidden first, so that the started program gets the foreground.
    if (request.hide)
        SendMessageA(request.launcher, KVM_HIDE, 0, 0);

    // Shell extensions that may run the start expect COM on the calling thread.
    ComApartment com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    ShellExecuteA(nullptr, nullptr, program.c_str(), NullIfEmpty(parameters), NullIfEmpty(folder), SW_SHOWNORMAL);
}

}  // namespace

void CKVButton::RegisterFile(const std::string& path) {
    m_strCommand = path;

    SHFILEINFOA info = {};
    if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_TYPENAME | SHGFI_DISPLAYNAME))
        info = SHFILEINFOA{};
    const std::string tip = RegisteredTooltip(info.szTypeName, info.szDisplayName, path, &GetFileDescription);
    SetTooltipText(tip);

    auto item = std::make_unique<CLaunchItem>();
    item->nIndex = m_nIndex;
    item->strTip = tip;
    item->strCommand = path;
    m_host.AddItem(std::move(item));
    m_hIcon = m_host.IconFor(path);
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

// The file dialog opens at the root of the Windows directory's drive; it leaves the process's
// current directory as it is, whatever the user did in it.
void CKVButton::OnRegisterRequest() {
    char windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(windows, sizeof(windows));
    const std::string root = length < sizeof(windows) ? WindowsDirectoryRoot(windows) : std::string();

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
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (GetOpenFileNameA(&dialog))
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
    if (m_pSettings->HideOption)
        m_host.HideNow();
}

void CKVButton::StartLaunch() {
    LaunchRequest request{GetParent(hwnd()), m_nIndex, m_strCommand, m_pSettings->HideOption != 0};
    StartWorkerThread([request] { LaunchItem(request); }, THREAD_PRIORITY_HIGHEST);
}
