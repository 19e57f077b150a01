#include "settings_ui/filter_page.h"
#include "settings_ui/list_view.h"

#include <vector>

#include "items/text_dialog.h"
#include "res/resource.h"
#include "text/unicode.h"

namespace {

constexpr char kClassColumnHeading[] = "ｸﾗｽ名称";
constexpr char kTitleColumnHeading[] = "ｳｲﾝﾄﾞｳ名称";
constexpr char kEditClassTitle[] = "無視するクラス名";
constexpr char kWindowNameTitle[] = "無視するウインドウ名";
constexpr char kRefusedClassMessage[] = "このクラス名称は登録できません。";
constexpr char kMessageCaption[] = "Kestrovar";
// Class names of framework-generated window classes change from run to run.
constexpr char kRefusedClassPart[] = "Afx:";
constexpr int kNameBufferSize = 260;
constexpr int kImageListGrowth = 32;
constexpr int kClassColumn = 0;
constexpr int kTitleColumn = 1;

// Everything but the class-name edit button follows the wheel-click trigger.
constexpr int kTriggerControls[] = {IDC_FILTER_WINDOWS,   IDC_FILTER_CLASSES,    IDC_FILTER_TITLES,
                                    IDC_FILTER_REFRESH,   IDC_FILTER_ADD_CLASS,  IDC_FILTER_DELETE_CLASS,
                                    IDC_FILTER_ADD_TITLE, IDC_FILTER_EDIT_TITLE, IDC_FILTER_DELETE_TITLE};

std::vector<std::string> ListBoxEntries(HWND box) {
    std::vector<std::string> entries;
    const int count = static_cast<int>(SendMessageW(box, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        entries.push_back(ListBoxText(box, i));
    return entries;
}

void AddSorted(HWND box, const std::string& text) {
    SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

// A window belongs in the list when it is a visible, unowned top-level window with a border or
// caption and a title.
bool IsListedWindow(HWND window, std::string* title) {
    if (!IsWindowVisible(window) || GetParent(window))
        return false;
    if ((GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == 0)
        return false;
    wchar_t text[kNameBufferSize] = {};
    if (GetWindowTextW(window, text, kNameBufferSize) <= 0)
        return false;
    *title = Utf8(text);
    return true;
}

// The window's small icon, else its class's, else the system application icon. None is owned.
HICON SmallIconOf(HWND window) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(window, WM_GETICON, ICON_SMALL, 0, SMTO_ABORTIFHUNG,
                            CKestrovarFilterPage::kIconQueryTimeoutMs, &answer) &&
        answer) {
        return reinterpret_cast<HICON>(answer);
    }
    if (HICON classIcon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM)))
        return classIcon;
    return LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
}

}  // namespace

CKestrovarFilterPage::CKestrovarFilterPage(KestrovarOptions& settings) : SettingsPage(IDD_FILTER_PAGE, settings) {}

BOOL CKestrovarFilterPage::OnInitDialog() {
    windowList_ = Item(IDC_FILTER_WINDOWS);
    SetUpWindowList();
    EnumerateWindows();
    for (const std::string& name : settings_.IgnoredClassNames)
        AddSorted(Item(IDC_FILTER_CLASSES), name);
    for (const std::string& name : settings_.IgnoredWindowNames)
        AddSorted(Item(IDC_FILTER_TITLES), name);
    UpdateEnabledState();
    return TRUE;
}

void CKestrovarFilterPage::SetUpWindowList() {
    AddGridListStyles(windowList_);
    RECT client = {};
    GetClientRect(windowList_, &client);
    const int width = (client.right - client.left - GetSystemMetrics(SM_CXVSCROLL)) / 3;
    InsertListColumn(windowList_, kClassColumn, kClassColumnHeading, width);
    InsertListColumn(windowList_, kTitleColumn, kTitleColumnHeading, 2 * width);
    // Window icons at the small-icon size of the screen's DPI.
    const int iconSize = GetSystemMetrics(SM_CXSMICON);
    images_.reset(ImageList_Create(iconSize, iconSize, ILC_COLOR24 | ILC_MASK, 0, kImageListGrowth));
    ImageList_SetBkColor(images_.get(), GetSysColor(COLOR_BTNFACE));
    SendMessageW(windowList_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_.get()));
}

void CKestrovarFilterPage::EnumerateWindows() {
    EnumWindows(&CKestrovarFilterPage::EnumWindowProc, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK CKestrovarFilterPage::EnumWindowProc(HWND window, LPARAM self) {
    reinterpret_cast<CKestrovarFilterPage*>(self)->AddWindowRow(window);
    return TRUE;
}

void CKestrovarFilterPage::AddWindowRow(HWND window) {
    std::string title;
    if (!IsListedWindow(window, &title))
        return;
    wchar_t className[kNameBufferSize] = {};
    GetClassNameW(window, className, kNameBufferSize);

    const int row = static_cast<int>(SendMessageW(windowList_, LVM_GETITEMCOUNT, 0, 0));
    // Image r belongs to row r: an icon the image list cannot take (another process's handle
    // that is no longer valid) is replaced by the application icon.
    if (ImageList_ReplaceIcon(images_.get(), -1, SmallIconOf(window)) < 0)
        ImageList_ReplaceIcon(images_.get(), -1, LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)));

    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row;
    item.pszText = className;
    item.iImage = row;
    const int inserted =
        static_cast<int>(SendMessageW(windowList_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    std::wstring wideTitle = Wide(title);
    LVITEMW titleCell = {};
    titleCell.iSubItem = kTitleColumn;
    titleCell.pszText = &wideTitle[0];
    SendMessageW(windowList_, LVM_SETITEMTEXTW, inserted, reinterpret_cast<LPARAM>(&titleCell));
}

void CKestrovarFilterPage::Refresh() {
    ImageList_RemoveAll(images_.get());
    SendMessageW(windowList_, LVM_DELETEALLITEMS, 0, 0);
    EnumerateWindows();
}

bool CKestrovarFilterPage::OnCommand(WORD id, WORD code, HWND control) {
    if (code != BN_CLICKED)
        return false;
    switch (id) {
        case IDC_FILTER_REFRESH:
            Refresh();
            return true;
        case IDC_FILTER_ADD_CLASS:
            AddSelectedClass();
            return true;
        case IDC_FILTER_DELETE_CLASS:
            DeleteSelectedEntry(IDC_FILTER_CLASSES);
            return true;
        case IDC_FILTER_EDIT_CLASS:
            EditSelectedEntry(IDC_FILTER_CLASSES, kEditClassTitle);
            return true;
        case IDC_FILTER_ADD_TITLE:
            AddWindowName();
            return true;
        case IDC_FILTER_EDIT_TITLE:
            EditSelectedEntry(IDC_FILTER_TITLES, kWindowNameTitle);
            return true;
        case IDC_FILTER_DELETE_TITLE:
            DeleteSelectedEntry(IDC_FILTER_TITLES);
            return true;
        default:
            return false;
    }
}

void CKestrovarFilterPage::AddSelectedClass() {
    const int row =
        static_cast<int>(SendMessageW(windowList_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0)
        return;
    wchar_t className[kNameBufferSize] = {};
    LVITEMW cell = {};
    cell.iSubItem = kClassColumn;
    cell.pszText = className;
    cell.cchTextMax = kNameBufferSize;
    SendMessageW(windowList_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
    const std::string name = Utf8(className);
    if (name.empty())
        return;
    HWND classes = Item(IDC_FILTER_CLASSES);
    // An entry that already begins with the name (ignoring case) covers it.
    if (SendMessageW(classes, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(className)) != LB_ERR) {
        return;
    }
    if (name.find(kRefusedClassPart) != std::string::npos) {
        ShowMessageBox(hwnd(), kRefusedClassMessage, kMessageCaption, MB_OK);
        return;
    }
    AddSorted(classes, name);
    SetModified();
}

void CKestrovarFilterPage::EditSelectedEntry(int listId, const char* title) {
    HWND box = Item(listId);
    const int selected = static_cast<int>(SendMessageW(box, LB_GETCURSEL, 0, 0));
    if (selected == LB_ERR)
        return;
    const std::string entry = ListBoxText(box, selected);
    if (entry.empty())
        return;
    CTextDialog dialog(hwnd());
    dialog.m_strTitle = title;
    dialog.m_strText = entry;
    if (dialog.DoModal() != IDOK || dialog.m_strText.empty())
        return;
    // The edited entry keeps its place, even where the sort order would put it elsewhere.
    SendMessageW(box, LB_INSERTSTRING, selected, reinterpret_cast<LPARAM>(Wide(dialog.m_strText).c_str()));
    SendMessageW(box, LB_DELETESTRING, selected + 1, 0);
    SendMessageW(box, LB_SETCURSEL, selected, 0);
    SetModified();
}

void CKestrovarFilterPage::DeleteSelectedEntry(int listId) {
    HWND box = Item(listId);
    const int selected = static_cast<int>(SendMessageW(box, LB_GETCURSEL, 0, 0));
    if (selected == LB_ERR)
        return;
    SendMessageW(box, LB_DELETESTRING, selected, 0);
    SetModified();
}

void CKestrovarFilterPage::AddWindowName() {
    CTextDialog dialog(hwnd());
    dialog.m_strTitle = kWindowNameTitle;
    if (dialog.DoModal() != IDOK || dialog.m_strText.empty())
        return;
    AddSorted(Item(IDC_FILTER_TITLES), dialog.m_strText);
    SetModified();
}

bool CKestrovarFilterPage::OnApply() {
    settings_.IgnoredClassNames = ListBoxEntries(Item(IDC_FILTER_CLASSES));
    settings_.IgnoredWindowNames = ListBoxEntries(Item(IDC_FILTER_TITLES));
    UpdateEnabledState();
    return true;
}

void CKestrovarFilterPage::UpdateEnabledState() {
    const bool enabled = settings_.WheelClickTrigger != 0;
    for (int id : kTriggerControls)
        EnableWindow(Item(id), enabled);
}
