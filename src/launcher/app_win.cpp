#include "launcher/app.h"

#include "launcher/body_wnd.h"
#include "res/resource.h"
#include "text/unicode.h"
#include "theme/theme_loader.h"

#include <commctrl.h>

namespace {
constexpr char kAlreadyRunningMessage[] = "別のKestrovarが実行中です。";
constexpr char kProfileWriteFailureText[] = "の書込みに失敗しました。\r\n設定の変更は保存されません。";

void InitialiseCommonControls() {
    InitCommonControls();
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

// The mutex is held until the process ends; it is never released or closed.
bool ClaimSingleInstance() {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, Wide(kInstanceMutexName).c_str());
    return mutex && GetLastError() != ERROR_ALREADY_EXISTS;
}
}  // namespace

CKestrovarApp::CKestrovarApp() = default;
CKestrovarApp::~CKestrovarApp() = default;

bool CKestrovarApp::InitInstance() {
    InitialiseCommonControls();
    SetRegistryKey(kCompanyKey);
    if (!ClaimSingleInstance()) {
        ShowMessageBox(nullptr, kAlreadyRunningMessage, ExecutableBaseName(), MB_OK);
        return false;
    }
    if (IniProfile* ini = UseProfileBesideProgram()) {
        const std::string message = ExecutableBaseName() + ".ini" + kProfileWriteFailureText;
        // Owned by the launcher, which stays on top of other windows, so that it is seen.
        ini->onWriteFailed = [this, message] {
            ShowMessageBox(MainWindowHandle(), message, ExecutableBaseName(), MB_OK);
        };
    }
    // Fixed now: the themes are found from here on, whatever later becomes the current directory.
    ThemesHome();
    // The window thread answers a wheel click ahead of the busy programs beside it; it is idle
    // otherwise, so the raise takes nothing from them.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
    bodyWnd_ = std::make_unique<CKestrovarBodyWnd>(Profile());
    SetMainWindow(bodyWnd_.get());
    bodyWnd_->CreateModeless(nullptr);
    return true;
}

int CKestrovarApp::ExitInstance() {
    bodyWnd_.reset();
    return Application::ExitInstance();
}
