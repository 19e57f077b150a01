#include "framework/property_sheet.h"

#include <cstring>

#include "text/unicode.h"

namespace {

// Resource type of a dialog template's initialisation data: list entries that the template
// carries for its list and combo boxes.
constexpr WORD kDialogInitResourceType = 240;
// The entries name the add-string messages in their 16-bit form.
constexpr WORD kListAddString16 = 0x0401;
constexpr WORD kComboAddString16 = 0x0403;

// Fills the list and combo boxes of a dialog from its template's initialisation data, if any.
// Each entry is {WORD control id, WORD message, DWORD byte count, bytes}; a zero id ends the list.
void ExecuteDialogInitData(HWND dialog, int templateId) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(kDialogInitResourceType));
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const auto* data = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
    if (!data)
        return;
    const size_t size = SizeofResource(module, resource);
    constexpr size_t kHeaderBytes = 2 * sizeof(WORD) + sizeof(DWORD);
    size_t offset = 0;
    while (offset + sizeof(WORD) <= size) {
        WORD control = 0, message = 0;
        DWORD length = 0;
        std::memcpy(&control, data + offset, sizeof(WORD));
        if (control == 0 || offset + kHeaderBytes > size)
            return;
        std::memcpy(&message, data + offset + sizeof(WORD), sizeof(WORD));
        std::memcpy(&length, data + offset + 2 * sizeof(WORD), sizeof(DWORD));
        offset += kHeaderBytes;
        if (length > size - offset)
            return;
        // The entries' texts are UTF-8 like the resource scripts; the copy ends with a zero
        // whatever the data holds.
        const std::wstring text = Wide(std::string_view(reinterpret_cast<const char*>(data + offset), length));
        offset += length;
        const UINT addString = message == kListAddString16    ? LB_ADDSTRING
                               : message == kComboAddString16 ? CB_ADDSTRING
                                                              : 0;
        if (addString != 0)
            SendDlgItemMessageW(dialog, control, addString, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

}  // namespace

PropertyPageDialog::PropertyPageDialog(int templateId, std::string title)
    : Dialog(templateId), title_(std::move(title)) {}

HPROPSHEETPAGE PropertyPageDialog::CreatePageHandle(PropertySheetWindow* sheet) {
    sheet_ = sheet;
    modified_ = false;
    PROPSHEETPAGEW page = {};
    page.dwSize = sizeof(page);
    page.dwFlags = PSP_DEFAULT | (title_.empty() ? 0 : PSP_USETITLE);  // no PSP_HASHELP: no Help button
    page.hInstance = GetModuleHandleW(nullptr);
    page.pszTemplate = MAKEINTRESOURCEW(TemplateId());
    wideTitle_ = Wide(title_);
    page.pszTitle = wideTitle_.c_str();
    page.pfnDlgProc = &PropertyPageDialog::StaticPageProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return CreatePropertySheetPageW(&page);
}

INT_PTR CALLBACK PropertyPageDialog::StaticPageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_INITDIALOG)
        return FALSE;
    auto* self = reinterpret_cast<PropertyPageDialog*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
    if (self->sheet_ && !self->sheet_->hwnd())
        self->sheet_->AttachSheet(GetParent(hwnd));
    ExecuteDialogInitData(hwnd, self->TemplateId());
    return self->BindAndInitialise(hwnd);
}

void PropertyPageDialog::SetModified(bool changed) {
    modified_ = changed;
    HWND sheet = GetParent(hwnd());
    if (!sheet)
        return;
    SendMessageW(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(hwnd()), 0);
}

LRESULT PropertyPageDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->hwndFrom == GetParent(hwnd())) {
            switch (header->code) {
                case PSN_APPLY:
                    if (!OnApply())
                        return PSNRET_INVALID_NOCHANGEPAGE;
                    modified_ = false;
                    return PSNRET_NOERROR;
                case PSN_SETACTIVE:
                    return OnSetActive() ? 0 : -1;
                case PSN_RESET:
                    OnReset();
                    return 0;
                case PSN_KILLACTIVE:
                case PSN_QUERYCANCEL:
                    return FALSE;
                default:
                    break;
            }
        }
    }
    return Dialog::WindowProc(msg, wParam, lParam);
}

namespace {
// The control id of a property sheet's Apply button.
constexpr WORD kApplyButtonId = 0x3021;
}  // namespace

INT_PTR PropertySheetWindow::DoModal(HWND parent) {
    std::vector<HPROPSHEETPAGE> handles;
    for (PropertyPageDialog* page : pages_)
        handles.push_back(page->CreatePageHandle(this));
    accepted_ = false;
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_DEFAULT | PSH_NOCONTEXTHELP;  // no PSH_HASHELP: no Help button
    header.hwndParent = parent;
    header.hInstance = GetModuleHandleW(nullptr);
    const std::wstring caption = Wide(caption_);
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(handles.size());
    header.nStartPage = 0;
    header.phpage = handles.data();
    PropertySheetW(&header);
    return accepted_ ? IDOK : IDCANCEL;
}

void PropertySheetWindow::AttachSheet(HWND sheet) {
    Subclass(sheet);
    OnInitSheet();
}

LRESULT PropertySheetWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
        LRESULT result = Window::WindowProc(msg, wParam, lParam);
        // A page that refuses its apply keeps the sheet open; the sheet is closing only when
        // it has no current page any more. A later Cancel must not count as this OK.
        accepted_ = SendMessageW(hwnd(), PSM_GETCURRENTPAGEHWND, 0, 0) == 0;
        return result;
    }
    if (msg == WM_COMMAND && LOWORD(wParam) == kApplyButtonId && HIWORD(wParam) == BN_CLICKED) {
        // The pages are applied during the default handling of the click.
        LRESULT result = Window::WindowProc(msg, wParam, lParam);
        OnApplied();
        return result;
    }
    return Window::WindowProc(msg, wParam, lParam);
}
