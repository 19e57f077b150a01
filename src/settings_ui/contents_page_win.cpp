#include "settings_ui/contents_page.h"
#include "settings_ui/list_view.h"

#include <shellapi.h>

#include <vector>

#include "framework/version_info.h"
#include "items/text_dialog.h"
#include "res/resource.h"
#include "settings/path_probe.h"
#include "text/unicode.h"

namespace {

constexpr char kTipColumnHeading[] = "ﾂｰﾙﾁｯﾌﾟﾃｷｽﾄ";
constexpr char kCommandColumnHeading[] = "ｺﾏﾝﾄﾞ";
constexpr int kLargeIconSize = 32;
constexpr int kTipColumn = 0;
constexpr int kCommandColumn = 1;

void SetCellText(HWND list, int row, int column, const std::string& text) {
    std::wstring wide = Wide(text);
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = &wide[0];
    SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

CKestrovarContentsPage::CKestrovarContentsPage(KestrovarOptions& settings)
    : SettingsPage(IDD_CONTENTS_PAGE, settings) {}

BOOL CKestrovarContentsPage::OnInitDialog() {
    list_ = Item(IDC_CONTENTS_LIST);
    AddGridListStyles(list_);
    SetUpColumns();
    rows_ = ContentsRows(settings_.Items);
    SetUpImageList();
    FillRows();
    return TRUE;
}

void CKestrovarContentsPage::SetUpColumns() {
    RECT client = {};
    GetClientRect(list_, &client);
    const int width = (client.right - client.left - GetSystemMetrics(SM_CXVSCROLL)) / 2;
    InsertListColumn(list_, kTipColumn, kTipColumnHeading, width);
    InsertListColumn(list_, kCommandColumn, kCommandColumnHeading, width);
}

// The rows show the shell's small icons, or its large ones when the launcher draws large icons,
// at the sizes the shell gives them at the screen's DPI.
int CKestrovarContentsPage::ListIconSize() const {
    return GetSystemMetrics(settings_.IconSize == kLargeIconSize ? SM_CXICON : SM_CXSMICON);
}

void CKestrovarContentsPage::SetUpImageList() {
    const int size = ListIconSize();
    images_.reset(ImageList_Create(size, size, ILC_COLOR32, static_cast<int>(rows_.size()), kImageListGrowth));
    ImageList_SetBkColor(images_.get(), GetSysColor(COLOR_WINDOW));
    if (settings_.IconSize == kLargeIconSize) {
        // Large icons with the tooltip texts as labels.
        const LONG_PTR style = GetWindowLongPtrW(list_, GWL_STYLE);
        SetWindowLongPtrW(list_, GWL_STYLE, (style & ~LVS_TYPEMASK) | LVS_ICON);
        SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images_.get()));
    } else {
        SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_.get()));
    }
}

void CKestrovarContentsPage::FillRows() {
    for (size_t r = 0; r < rows_.size(); ++r) {
        wchar_t empty[] = L"";
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(r);
        item.pszText = empty;
        item.iImage = static_cast<int>(r);
        SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        // Image r always belongs to row r.
        ImageList_ReplaceIcon(images_.get(), -1, IconFor(rows_.at(r).command));
        ShowRow(r);
    }
}

void CKestrovarContentsPage::ShowRow(size_t row) {
    const ContentsRow& data = rows_.at(row);
    const int index = static_cast<int>(row);
    SetCellText(list_, index, kTipColumn, data.tip);
    SetCellText(list_, index, kCommandColumn, data.command);
    ImageList_ReplaceIcon(images_.get(), index, IconFor(data.command));
}

int CKestrovarContentsPage::SelectedRow() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CKestrovarContentsPage::SelectRow(int row) {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageW(list_, LVM_ENSUREVISIBLE, row, TRUE);
}

bool CKestrovarContentsPage::OnCommand(WORD id, WORD code, HWND control) {
    if (code != BN_CLICKED)
        return false;
    switch (id) {
        case IDC_CONTENTS_UP:
            MoveSelected(-1);
            return true;
        case IDC_CONTENTS_DOWN:
            MoveSelected(+1);
            return true;
        case IDC_CONTENTS_DELETE:
            DeleteSelected();
            return true;
        case IDC_CONTENTS_EDIT_COMMAND:
            EditSelectedCommand();
            return true;
        case IDC_CONTENTS_EDIT_TIP:
            EditSelectedTip();
            return true;
        default:
            return false;
    }
}

void CKestrovarContentsPage::MoveSelected(int step) {
    const int selected = SelectedRow();
    const int target = selected + step;
    if (selected < 0 || target < 0 || target >= static_cast<int>(rows_.size()))
        return;
    rows_.Swap(static_cast<size_t>(selected), static_cast<size_t>(target));
    ShowRow(static_cast<size_t>(selected));
    ShowRow(static_cast<size_t>(target));
    SelectRow(target);
    SetModified();
}

void CKestrovarContentsPage::DeleteSelected() {
    const int selected = SelectedRow();
    if (selected < 0)
        return;
    switch (rows_.Delete(static_cast<size_t>(selected))) {
        case RowDeleteResult::kNothing:
            break;
        case RowDeleteResult::kRemoved:
            // Removing the last row alone does not light up Apply; OK still applies the page.
            SendMessageW(list_, LVM_DELETEITEM, selected, 0);
            break;
        case RowDeleteResult::kEmptied:
            ShowRow(static_cast<size_t>(selected));
            InvalidateRect(list_, nullptr, TRUE);
            SetModified();
            break;
    }
}

void CKestrovarContentsPage::EditSelectedCommand() {
    const int selected = SelectedRow();
    if (selected < 0 || rows_.at(static_cast<size_t>(selected)).IsEmptySlot())
        return;
    std::string command = rows_.at(static_cast<size_t>(selected)).command;
    if (!EditItemCommand(hwnd(), command) || command.empty())
        return;
    rows_.EditCommand(static_cast<size_t>(selected), command, FileSystemProbe(), &GetFileDescription);
    ShowRow(static_cast<size_t>(selected));
    InvalidateRect(list_, nullptr, TRUE);
    SetModified();
}

void CKestrovarContentsPage::EditSelectedTip() {
    const int selected = SelectedRow();
    // Rows without a tooltip (empty slots, and items stored with the placeholder) are not edited.
    if (selected < 0 || rows_.at(static_cast<size_t>(selected)).tip.empty())
        return;
    std::string tip = rows_.at(static_cast<size_t>(selected)).tip;
    if (!EditItemTooltip(hwnd(), tip))
        return;
    rows_.EditTip(static_cast<size_t>(selected), tip);
    ShowRow(static_cast<size_t>(selected));
    SetModified();
}

bool CKestrovarContentsPage::OnApply() {
    rows_.ApplyTo(settings_.Items);
    return true;
}

HICON CKestrovarContentsPage::DefaultIcon() {
    if (!defaultIcon_) {
        const int size = ListIconSize();
        defaultIcon_.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ITEM),
                                                         IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    }
    return defaultIcon_.get();
}

HICON CKestrovarContentsPage::IconFor(const std::string& command) {
    if (command.empty())
        return DefaultIcon();
    auto found = icons_.find(command);
    if (found != icons_.end())
        return found->second ? found->second.get() : DefaultIcon();

    std::string program, arguments;
    SplitCommandLine(command, program, arguments, FileSystemProbe());
    const std::string& path = program.empty() ? command : program;
    SHFILEINFOW info = {};
    const UINT flags = SHGFI_ICON | (settings_.IconSize == kLargeIconSize ? 0 : SHGFI_SMALLICON);
    // Only the return value tells whether the shell found the file; hIcon may hold a stale handle.
    const bool shellHasIcon = SHGetFileInfoW(Wide(path).c_str(), 0, &info, sizeof(info), flags) != 0 && info.hIcon;
    UniqueIcon& slot = icons_[command];
    if (shellHasIcon)
        slot.reset(info.hIcon);
    return slot ? slot.get() : DefaultIcon();
}

void CKestrovarContentsPage::ReleaseIcons() {
    if (list_) {
        SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_NORMAL, 0);
        SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    }
    images_.reset();
    icons_.clear();
    defaultIcon_.reset();
}

LRESULT CKestrovarContentsPage::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY)
        ReleaseIcons();
    return PropertyPageDialog::WindowProc(msg, wParam, lParam);
}
