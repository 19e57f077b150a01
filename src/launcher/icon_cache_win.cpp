// The launcher's icon cache: icons of the items looked up through the store, the data file read
// at start and on the refresh command, and written at the quit.
#include "launcher/icon_cache.h"

#include "launcher/body_wnd.h"

#include "framework/application.h"
#include "items/data_file.h"
#include "items/icon_store.h"
#include "items/kv_button.h"
#include "items/tray_icon.h"
#include "settings/item_list.h"
#include "settings/path_probe.h"
#include "text/cmdline.h"
#include "text/unicode.h"

#include <algorithm>

namespace {

constexpr DWORD kUserNameBufferSize = 100;

std::string CurrentUserName() {
    wchar_t name[kUserNameBufferSize] = L"";
    DWORD size = kUserNameBufferSize;
    if (!GetUserNameW(name, &size))
        name[0] = L'\0';
    return Utf8(name);
}

bool HasIconSize(HIMAGELIST list, int size) {
    int cx = 0, cy = 0;
    return ImageList_GetIconSize(list, &cx, &cy) && cx == size && cy == size;
}

}  // namespace

HICON LauncherIconCache::GetIcon(const std::string& command) {
    return LookUpIcon(store_, command, IconSize(), loaded_);
}

HICON LauncherIconCache::DefaultItemIcon() {
    return store_.DefaultItemIcon(IconSize());
}

void LauncherIconCache::DeleteDataFile() {
    const std::string path = DataFilePath();
    if (!path.empty())
        DeleteFileW(Wide(path).c_str());
}

void LauncherIconCache::Fill(HWND owner) {
    store_.Clear();
    const std::string userName = CurrentUserName();
    StoredImages images;
    const std::string path = DataFilePath();
    if (!path.empty() && GetPathAttributes(path) != 0) {
        images = ReadDataFile(path);
        if (images.failedStep != kDataFileReadOk) {
            ShowMessageBox(owner, DataFileReadFailureMessage(userName, images.failedStep), ExecutableBaseName(), MB_OK);
        }
        // Written at another icon size (another DPI, or another IconSize): its pictures would be
        // drawn stretched and kept so. The shell is asked instead, and the quit writes it anew.
        if (images.list && !HasIconSize(images.list.get(), IconSize()))
            images = StoredImages{};
    }
    const size_t itemsBefore = settings_.Items.UsedItemsByIndex().size();
    const bool everyItemHasAnImage =
        images.list && static_cast<size_t>(images.Count()) == itemsBefore &&
        std::none_of(images.blank.begin(), images.blank.end(), [](bool blank) { return blank; });
    WIN32_FILE_ATTRIBUTE_DATA file = {};
    const bool read = images.list && GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &file);
    PairImagesWithItems(std::move(images), settings_.Items, store_, IconSize());
    if (read)
        store_.NoteLoadedFile(
            LoadedDataFile{file.ftLastWriteTime, UsedCommandsFingerprint(settings_.Items), everyItemHasAnImage});
}

// Programs whose files did not change since the data file was written keep their icons; when
// nothing changed at all, the file is left as it is. Either way a quit with thousands of items
// asks the shell only for what is new, and ends well within the time a log-off allows.
void LauncherIconCache::Save() {
    loaded_ = false;
    if (LoadedFileStillFits(store_, settings_.Items))
        return;
    const std::optional<LoadedDataFile>& loaded = store_.LoadedFile();
    UniqueImageList images =
        CollectItemImages(settings_.Items, store_, IconSize(), loaded ? &loaded->written : nullptr);
    // With no icon at all an older file stays as it is; a failed write keeps it too.
    if (images)
        WriteDataFile(DataFilePath(), images.get());
}

HICON CKestrovarBodyWnd::GetIcon(const std::string& command) {
    return iconCache_.GetIcon(command);
}

void CKestrovarBodyWnd::LoadIconStore() {
    // Its message box is a modal loop; the hook messages stay locked out for the whole load.
    ModalScope modal(*this);
    iconCache_.SetLoaded(false);
    if (settings_.ShowTaskTrayIcon)
        StartTrayLoadingIcon(hwnd(), iconCache_.LoadedFlag());
    for (auto& button : grid_.Buttons())
        button->ClearIcon();
    iconCache_.Fill(hwnd());
    iconCache_.SetLoaded(true);
}

void CKestrovarBodyWnd::SaveIconStore() {
    iconCache_.Save();
}
