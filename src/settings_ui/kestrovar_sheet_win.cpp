#include "settings_ui/kestrovar_sheet.h"

#include "res/resource.h"

namespace {

constexpr int kMaxCaptionBytes = 256;

std::string LoadSheetCaption() {
    char caption[kMaxCaptionBytes] = {};
    LoadStringA(GetModuleHandleA(nullptr), IDS_SHEET_CAPTION, caption, sizeof(caption));
    return caption;
}

}  // namespace

CKestrovarSheet::CKestrovarSheet(KestrovarOptions& settings)
    : PropertySheetWindow(LoadSheetCaption()),
      optionPage_(settings),
      contentsPage_(settings),
      viewPage_(settings),
      filterPage_(settings) {
    AddPage(&optionPage_);
    AddPage(&contentsPage_);
    AddPage(&viewPage_);
    AddPage(&filterPage_);
}

CKestrovarSheet::~CKestrovarSheet() = default;

INT_PTR CKestrovarSheet::DoModal() {
    return PropertySheetWindow::DoModal(nullptr);
}

void CKestrovarSheet::OnInitSheet() {
    icon_.reset(
        static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
}

void CKestrovarSheet::OnApplied() {
    if (appliedHandler_)
        appliedHandler_();
}
