#include "settings_ui/kestrovar_sheet.h"

#include "res/resource.h"
#include "text/unicode.h"

namespace {

constexpr int kMaxCaptionUnits = 256;

std::string LoadSheetCaption() {
    wchar_t caption[kMaxCaptionUnits] = {};
    LoadStringW(GetModuleHandleW(nullptr), IDS_SHEET_CAPTION, caption, kMaxCaptionUnits);
    return Utf8(caption);
}

}  // namespace

CKestrovarSheet::CKestrovarSheet(KestrovarOptions& settings, SheetHost& host)
    : PropertySheetWindow(LoadSheetCaption()),
      host_(host),
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
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
}

void CKestrovarSheet::OnApplied() {
    host_.OnSheetApplied();
}
