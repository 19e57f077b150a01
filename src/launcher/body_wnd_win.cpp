#include "launcher/body_wnd.h"

#include "framework/application.h"
#include "framework/display_dpi.h"
#include "items/kv_button.h"
#include "items/messages.h"
#include "res/resource.h"

namespace {
constexpr char kHookLibraryMissingMessage[] = "Kestrovar.dllの読込みに失敗しました。\r\nプログラムを終了します。";
}  // namespace

CKestrovarBodyWnd::CKestrovarBodyWnd(ProfileStore& profile)
    : Dialog(IDD_BODY),
      appIcon_(static_cast<HICON>(
          LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE))),
      settings_(profile) {}

CKestrovarBodyWnd::~CKestrovarBodyWnd() {
    DestroyButtons();
}

// The start order of the whole program.
BOOL CKestrovarBodyWnd::OnInitDialog() {
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon_.get()));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIcon_.get()));

    if (!hook_.Load(kHookLibraryName)) {
        ShowMessageBox(hwnd(), kHookLibraryMissingMessage, ExecutableBaseName(), MB_OK);
        ::DestroyWindow(hwnd());
        return FALSE;
    }
    grid_.SetCurrentPage(0);
    SetTextOf(hwnd(), kBodyWindowText);
    KeepDialogLayoutOnDpiChange(hwnd());
    hook_.Start(hwnd());
    hook_.WheelClickLock(settings_.WheelClickLock);

    iconCache_.ForgetLoadedSize();
    clickQualifier_.Reset();
    life_.BeginStart();
    grid_.EndDrag();

    EnumerateMonitors();
    Rebuild(true);
    RegisterHotKeys(true);
    life_.EndStart();
    return FALSE;
}

// Runs at WM_QUERYENDSESSION and again at WM_DESTROY. The second pass finds the hot keys
// unregistered and the library released; the icons are written only by the first pass, the
// settings by both. The settings go first: at the end of a session the system may kill the
// process during the icon save, which is slow with many items, and then only the icon cache
// is lost, never the items.
void CKestrovarBodyWnd::RunShutdownSequence() {
    RegisterHotKeys(false);
    hook_.StopAndRelease();
    settings_.SaveSettings();
    if (!life_.IsShutDown())
        SaveIconStore();
    if (life_.BeginShutdown())
        ReleaseButtonsAndIcons();
}

void CKestrovarBodyWnd::ReleaseButtonsAndIcons() {
    DestroyButtons();
    monitors_.clear();
    iconCache_.Clear();
}

void CKestrovarBodyWnd::ResumeAfterCancelledEnd() {
    if (!life_.IsShutDown() || !hook_.Load(kHookLibraryName))
        return;
    const bool kept = life_.Resume();
    hook_.Start(hwnd());
    hook_.WheelClickLock(settings_.WheelClickLock);
    if (life_.InModal())
        hook_.LockMessage(1);
    EnumerateMonitors();
    if (kept) {
        // The buttons and icons were kept for a modal loop: they are still whole.
        iconCache_.SetLoaded(true);
    } else {
        LoadIconStore();
        iconCache_.NoteLoadedSize();
        Rebuild(false);
    }
    RegisterHotKeys(true);
}

void CKestrovarBodyWnd::SaveUserChange() {
    if (!life_.IsShutDown())
        settings_.SaveSettings();
}

void CKestrovarBodyWnd::EnterModal() {
    if (life_.BeginModal())
        hook_.LockMessage(1);
}

// The end of a modal loop: what waited for the outermost one is done now.
void CKestrovarBodyWnd::LeaveModal() {
    const LauncherLife::ModalEnd end = life_.EndModal();
    if (!end.outermost)
        return;
    hook_.LockMessage(0);
    if (end.release)
        ReleaseButtonsAndIcons();
    if (end.rebuild)
        Rebuild(false);
}

void CKestrovarBodyWnd::OnDestroy() {
    RunShutdownSequence();
}

void CKestrovarBodyWnd::DestroyButtons() {
    commands_.ForgetButton();
    painter_.DiscardPicture();
    grid_.Destroy();
}
