#include "launcher/launcher_commands.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/handles.h"
#include "framework/version_info.h"
#include "items/about_dialog.h"
#include "items/command_ids.h"
#include "items/kv_button.h"
#include "items/menu_rules.h"
#include "items/text_dialog.h"
#include "settings/kestrovar_settings.h"
#include "settings/path_probe.h"
#include "text/unicode.h"
#include "theme/theme_loader.h"

namespace {

// The folders in the themes folder, in the order the file system lists them.
std::vector<std::string> EnumerateThemeFolders() {
    std::vector<std::string> names;
    const std::string folder = ThemesFolder();
    if (folder.empty())
        return names;
    const std::wstring pattern = Wide(folder + "\\*");
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileW(pattern.c_str(), &data));
    if (!find)
        return names;
    do {
        // A folder whose name UTF-8 cannot carry unchanged could not be named in the profile.
        std::string name;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && ExactUtf8(data.cFileName, name) && name != "." &&
            name != "..")
            names.push_back(name);
    } while (FindNextFileW(find.get(), &data));
    return names;
}

void AppendEntries(HMENU menu, const std::vector<MenuEntry>& entries) {
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
            case MenuEntry::kSeparator:
                AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
                break;
            case MenuEntry::kSubmenu: {
                HMENU submenu = CreatePopupMenu();
                AppendEntries(submenu, entry.children);
                // The submenu is destroyed with its parent menu.
                AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu), Wide(entry.text).c_str());
                break;
            }
            case MenuEntry::kCommand:
                AppendMenuW(menu, MF_STRING | (entry.checked ? MF_CHECKED : MF_UNCHECKED), entry.id,
                            Wide(entry.text).c_str());
                break;
        }
    }
}

// Applies the theme choice of the menu to the settings: theme n of a fresh enumeration, or
// the plain look for nullopt and for a folder that has gone since the menu was shown.
void ChooseTheme(CKestrovarSettings& settings, std::optional<int> themeIndex) {
    settings.SkinMode = 0;
    if (!themeIndex)
        return;
    const std::vector<std::string> names = EnumerateThemeFolders();
    const size_t n = static_cast<size_t>(*themeIndex);
    if (n < names.size() && !names[n].empty()) {
        settings.Theme = names[n];
        settings.SkinMode = 1;
    }
}

// Lets the user edit one text of the item at index, then stores the result on the item looked
// up again: a launch may have cleared it while the dialog ran. Returns true when it changed.
bool EditItemText(ItemList& items,
                  int index,
                  std::string CLaunchItem::*text,
                  const std::function<bool(std::string&)>& edit,
                  const std::function<void(CLaunchItem&, const std::string&)>& store) {
    const CLaunchItem* item = items.FindItem(index);
    if (!item)
        return false;
    std::string edited = item->*text;
    if (!edit(edited))
        return false;
    CLaunchItem* current = items.FindItem(index);
    if (!current)
        return false;
    store(*current, edited);
    return true;
}

bool EditTooltip(HWND owner, ItemList& items, int index) {
    return EditItemText(
        items, index, &CLaunchItem::strTip, [owner](std::string& tip) { return EditItemTooltip(owner, tip); },
        [](CLaunchItem& item, const std::string& tip) { item.strTip = StorableTooltip(tip, item.strCommand); });
}

// A new target brings its own tooltip. A command that the profile could not store is refused
// and offered again for correction.
bool EditCommand(HWND owner, ItemList& items, int index) {
    return EditItemText(
        items, index, &CLaunchItem::strCommand,
        [owner](std::string& command) { return EditItemCommand(owner, command); },
        [](CLaunchItem& item, const std::string& command) {
            item.strTip =
                TooltipAfterCommandEdit(item.strTip, item.strCommand, command, FileSystemProbe(), &GetFileDescription);
            item.strCommand = command;
        });
}

bool IsItemCommand(int id) {
    return id == kCmdRegister || id == kCmdOpenLink || id == kCmdInsertBlank || id == kCmdDelete || id == kCmdEditTip ||
           id == kCmdEditCommand;
}

}  // namespace

void LauncherCommands::ShowMenu(HWND clicked, POINT screenPoint) {
    CKestrovarSettings& settings = host_.Settings();
    host_.EndDrag();
    contextButton_ = nullptr;

    MenuContext context;
    if (CKVButton* button = host_.ButtonOf(clicked)) {
        contextButton_ = button;
        context.onButton = true;
        context.clickedIndex = contextButton_->Index();
        context.highestUsedIndex = settings.Items.HighestUsedIndex();
        context.hasRecord = settings.Items.HasItem(context.clickedIndex);
    }
    context.themeNames = EnumerateThemeFolders();
    context.skinMode = settings.SkinMode != 0;
    context.themeName = settings.Theme;

    UniqueMenu menu(CreatePopupMenu());
    if (!menu)
        return;
    AppendEntries(menu.get(), BuildLauncherMenu(context));
    // A menu asked for from the keyboard comes with the point (-1, -1): show it at the window.
    if (screenPoint.x == -1 && screenPoint.y == -1) {
        RECT rect = {};
        GetWindowRect(clicked ? clicked : host_.Window(), &rect);
        screenPoint = POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    // A popup menu closes on a click elsewhere only while its owner is the foreground window;
    // the posted message lets the menu loop notice the end of tracking at once.
    SetForegroundWindow(host_.Window());
    int chosen = 0;
    {
        ModalScope modal(host_);
        chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD, screenPoint.x, screenPoint.y, 0, host_.Window(), nullptr);
    }
    PostMessageW(host_.Window(), WM_NULL, 0, 0);
    // Carried out once this message has been handled, as a menu's own command is: a command may
    // rebuild the buttons, and the button that had the right click may still be handling it.
    menuChoice_ = chosen;
    if (chosen != 0)
        PostMessageW(host_.Window(), WM_COMMAND, static_cast<WPARAM>(chosen), 0);
}

bool LauncherCommands::RunOnItem(int id) {
    if (!IsItemCommand(id))
        return false;
    // Only the entry chosen in the menu acts on its button; the same id from anywhere else (a
    // program outside, a stale menu) has no item.
    const bool chosenInMenu = menuChoice_ == id;
    menuChoice_ = 0;
    if (!chosenInMenu || !contextButton_)
        return true;
    CKestrovarSettings& settings = host_.Settings();
    const int index = contextButton_->Index();
    switch (id) {
        case kCmdRegister: {
            // Modal like the other dialogs: no page turn may give the button another slot
            // while the file dialog is open, and no rebuild may free the button.
            ModalScope modal(host_);
            contextButton_->OnRegisterRequest();
            break;
        }
        case kCmdOpenLink:
            contextButton_->OnOpenLink();
            break;
        case kCmdInsertBlank:
        case kCmdDelete:
            if (id == kCmdInsertBlank)
                settings.Items.InsertBlank(index);
            else
                settings.Items.DeleteAt(index);
            host_.SaveUserChange();
            host_.ShowCurrentPage();
            host_.EndDrag();
            host_.FocusButtonUnderCursor();
            break;
        default: {
            bool changed = false;
            {
                ModalScope modal(host_);
                changed = id == kCmdEditTip ? EditTooltip(host_.Window(), settings.Items, index)
                                            : EditCommand(host_.Window(), settings.Items, index);
            }
            if (changed) {
                host_.SaveUserChange();
                host_.ShowCurrentPage();
            }
            break;
        }
    }
    return true;
}

bool LauncherCommands::Run(int id) {
    if (RunOnItem(id))
        return true;
    CKestrovarSettings& settings = host_.Settings();
    if (std::optional<int> theme = ThemeIndexFromCommand(id); theme || id == kCmdDefaultTheme) {
        host_.NoteIconSize();  // a reload follows only if the theme changes the size
        ChooseTheme(settings, theme);
        host_.RebuildLook();
        host_.SaveUserChange();
        SetFocus(host_.Window());
        return true;
    }
    switch (id) {
        case kCmdSettings:
            OpenSettingsSheet();
            return true;
        case kCmdVersion: {
            ModalScope modal(host_);
            CAboutDialog about;
            about.DoModal(host_.Window());
            SetFocus(host_.Window());
            return true;
        }
        case kCmdCancel:
            SetFocus(host_.Window());
            return true;
        case kCmdQuit:
            host_.Quit();
            return true;
        default:
            return false;
    }
}

// The sheet runs with the hot keys unregistered, hook messages locked and the launcher hidden,
// so nothing can bring the launcher up over it.
void LauncherCommands::OpenSettingsSheet() {
    // The launcher still receives messages while the sheet runs; a second settings command
    // (sent by another program) must not stack a second sheet on the same record.
    if (sheetOpen_)
        return;
    sheetOpen_ = true;
    HWND window = host_.Window();
    // The rebuild after the sheet reloads the item icons only if the sheet changed IconSize.
    host_.NoteIconSize();
    host_.RegisterHotKeys(false);
    const bool wasVisible = IsWindowVisible(window) != FALSE;
    RECT shownAt = {};
    GetWindowRect(window, &shownAt);
    ShowWindow(window, SW_HIDE);
    bool accepted = false;
    sheetApplied_ = false;
    {
        ModalScope modal(host_);
        CKestrovarSheet sheet(host_.Settings(), *this);
        accepted = sheet.DoModal() == IDOK;
    }
    // Applied changes are rebuilt too, also when the sheet is then cancelled: the window is
    // always sized from the record, and a grid the buttons no longer match would cut them off.
    if (accepted || sheetApplied_) {
        host_.RebuildLook();
        host_.SaveUserChange();
        host_.ApplyWheelClickLock();
    }
    // A launcher that was shown comes back where it was, in its new look.
    if (wasVisible)
        host_.ShowInPlace(shownAt.left, shownAt.top);
    if (accepted)
        SetFocus(window);
    // Applied hot keys take effect whether the sheet was confirmed or cancelled.
    host_.RegisterHotKeys(true);
    sheetOpen_ = false;
}

void LauncherCommands::OnSheetApplied() {
    sheetApplied_ = true;
    host_.SaveUserChange();
}
