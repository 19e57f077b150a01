// Registering files on a button and starting a button's item.
#include "items/kv_button.h"

#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <memory>
#include <vector>

#include "framework/application.h"
#include "framework/handles.h"
#include "framework/version_info.h"
#include "framework/worker_thread.h"
#include "items/launch_paths.h"
#include "items/messages.h"
#include "settings/kestrovar_settings.h"
#include "settings/launch_item.h"
#include "settings/path_probe.h"
#include "text/cmdline.h"
#include "text/unicode.h"

namespace {

constexpr char kOpenFileFilter[] = "全て(*.*)|*.*||";
constexpr char kOpenFileDefaultExtension[] = "*.*";
constexpr UINT kDropCountQuery = 0xFFFFFFFF;
constexpr char kUnstorableNameMessage[] = "このファイル名は登録できません。";

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

const wchar_t* NullIfEmpty(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

// What a launch needs, copied on the GUI thread when the click happens: the worker never
// reads the button, which the next page display may change.
struct LaunchRequest {
    HWND launcher;  // not owned
    int index;
    std::string command;
    bool hide;
    std::string verb;  // empty: the item's default verb
};

// The program is found as the shell would find it from the process's current directory, which
// nothing changes after the start; it runs in its own folder through the shell's directory
// argument, so no thread ever changes the current directory of the whole process.
void LaunchItem(const LaunchRequest& request) {
    if (request.command.empty()) {
        if (request.hide)
            PostMessageW(request.launcher, KVM_HIDE, 0, 0);
        return;
    }
    std::string program, parameters;
    SplitForLaunch(request.command, program, parameters);
    const std::string folder = ProgramFolder(program);

    if (!PathFound(program)) {
        // The list belongs to the GUI thread: it clears the item. An item whose drive or share
        // is away stays for when it is back.
        if (!IsVolumeUnreachable(request.command))
            PostMessageW(request.launcher, KVM_DELETEITEM, static_cast<WPARAM>(request.index), 0);
        if (request.hide)
            SendMessageW(request.launcher, KVM_HIDE, 0, 0);
        return;
    }
    // Hidden first, so that the started program gets the foreground.
    if (request.hide)
        SendMessageW(request.launcher, KVM_HIDE, 0, 0);

    // Shell extensions that may run the start expect COM on the calling thread.
    ComApartment com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const std::wstring verb = Wide(request.verb);
    const std::wstring file = Wide(program);
    const std::wstring arguments = Wide(parameters);
    const std::wstring directory = Wide(folder);
    SHELLEXECUTEINFOW start = {};
    start.cbSize = sizeof(start);
    start.fMask = SEE_MASK_FLAG_NO_UI;  // as the plain ShellExecute call has it
    start.lpVerb = NullIfEmpty(verb);
    start.lpFile = file.c_str();
    start.lpParameters = NullIfEmpty(arguments);
    start.lpDirectory = NullIfEmpty(directory);
    start.nShow = SW_SHOWNORMAL;
    // A failure, the user's refusal of the elevation prompt (ERROR_CANCELLED) among them, ends
    // the launch here: the program exists, so the item stays, and the launcher has already hidden.
    ShellExecuteExW(&start);
}

// Whether the list of names at `names` (units of unitSize bytes, at most `bytes` bytes) ends
// within them: with an empty name, two terminators in a row or one at the start.
bool NameListEndsWithin(const char* names, size_t bytes, size_t unitSize) {
    bool previousZero = true;
    for (size_t at = 0; at + unitSize <= bytes; at += unitSize) {
        const bool zero = unitSize == 1 ? names[at] == 0 : (names[at] == 0 && names[at + 1] == 0);
        if (zero && previousZero)
            return true;
        previousZero = zero;
    }
    return false;
}

// Whether a handle holds a drop as the system makes it: global memory with a DROPFILES header
// and a list of names that ends inside the block. WM_DROPFILES can come from any program with
// any value; the system's functions would read such a value as a header, and free it.
bool IsWellFormedDrop(HDROP drop) {
    const SIZE_T size = GlobalSize(drop);
    if (size < sizeof(DROPFILES))
        return false;
    const auto* header = static_cast<const DROPFILES*>(GlobalLock(drop));
    if (!header)
        return false;
    const bool wellFormed = header->pFiles >= sizeof(DROPFILES) && header->pFiles < size &&
                            NameListEndsWithin(reinterpret_cast<const char*>(header) + header->pFiles,
                                               size - header->pFiles, header->fWide ? sizeof(wchar_t) : 1);
    GlobalUnlock(drop);
    return wellFormed;
}

}  // namespace

void CKVButton::RegisterFile(const std::string& path) {
    m_strCommand = path;

    SHFILEINFOW info = {};
    if (!SHGetFileInfoW(Wide(path).c_str(), 0, &info, sizeof(info), SHGFI_TYPENAME | SHGFI_DISPLAYNAME))
        info = SHFILEINFOW{};
    const std::string tip =
        RegisteredTooltip(Utf8(info.szTypeName), Utf8(info.szDisplayName), path, &GetFileDescription);
    SetTooltipText(tip);

    auto item = std::make_unique<CLaunchItem>();
    item->nIndex = m_nIndex;
    item->strTip = tip;
    item->strCommand = path;
    m_host.AddItem(std::move(item));
    m_hIcon = m_host.IconFor(path);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

// A name is registered exactly as the system gave it. One that holds half of a surrogate pair
// cannot be kept in UTF-8 unchanged, and is refused rather than stored as another name.
void CKVButton::RegisterSystemName(const std::wstring& name) {
    std::string path;
    if (!ExactUtf8(name, path)) {
        ShowMessageBox(GetParent(hwnd()), kUnstorableNameMessage, ExecutableBaseName(), MB_OK);
        return;
    }
    if (!path.empty())
        RegisterFile(path);
}

void CKVButton::OnDropFiles(HDROP drop) {
    if (!IsWellFormedDrop(drop))
        return;
    std::wstring path;
    const UINT count = DragQueryFileW(drop, kDropCountQuery, nullptr, 0);
    if (count == 1) {
        // Sized from the query, so that no path is cut short.
        std::vector<wchar_t> buffer(DragQueryFileW(drop, 0, nullptr, 0) + 1);
        const UINT length = DragQueryFileW(drop, 0, buffer.data(), static_cast<UINT>(buffer.size()));
        path.assign(buffer.data(), length);
    }
    DragFinish(drop);
    RegisterSystemName(path);
}

// The file dialog opens at the root of the Windows directory's drive; it leaves the process's
// current directory as it is, whatever the user did in it.
void CKVButton::OnRegisterRequest() {
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring root = length < MAX_PATH ? Wide(WindowsDirectoryRoot(Utf8(windows))) : std::wstring();

    const std::wstring filter = Wide(FileDialogFilter(kOpenFileFilter));
    const std::wstring defaultExtension = Wide(kOpenFileDefaultExtension);
    wchar_t file[MAX_PATH] = {};
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    // Owned by the launcher window so that the dialog is modal to it and comes up in front.
    dialog.hwndOwner = GetParent(hwnd());
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = NullIfEmpty(root);
    dialog.lpstrDefExt = defaultExtension.c_str();
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (GetOpenFileNameW(&dialog))
        RegisterSystemName(file);
}

void CKVButton::OnOpenLink() {
    if (m_strCommand.empty() || !m_hIcon)
        return;
    std::string program, parameters;
    SplitForLaunch(m_strCommand, program, parameters);
    const std::string folder = ProgramFolder(program);
    if (!folder.empty())
        ShellExecuteW(nullptr, L"open", Wide(folder).c_str(), nullptr, nullptr, SW_SHOW);
    if (m_pSettings->HideOption)
        m_host.HideNow();
}

void CKVButton::StartLaunch(const std::string& verb) {
    LaunchRequest request{GetParent(hwnd()), m_nIndex, m_strCommand, m_pSettings->HideOption != 0, verb};
    StartWorkerThread([request] { LaunchItem(request); }, THREAD_PRIORITY_HIGHEST);
}
