#include "items/icon_store.h"

#include "framework/application.h"
#include "items/data_file.h"
#include "items/icon_pictures.h"
#include "res/resource.h"
#include "settings/item_list.h"
#include "settings/path_probe.h"
#include "text/cmdline.h"
#include "text/unicode.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <unordered_set>

namespace {

int IconWidth(HICON icon) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return 0;
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// The icon the shell names for a path, read from its file at size x size pixels.
HICON IconFromShellLocation(const std::string& path, int size) {
    SHFILEINFOW info = {};
    if (!SHGetFileInfoW(Wide(path).c_str(), 0, &info, sizeof(info), SHGFI_ICONLOCATION) || !info.szDisplayName[0])
        return nullptr;
    HICON icon = nullptr;
    UINT id = 0;
    if (PrivateExtractIconsW(info.szDisplayName, info.iIcon, size, size, &icon, &id, 1, 0) != 1)
        return nullptr;
    return icon;
}

}  // namespace

HICON IconStore::Find(const std::string& key) {
    auto found = firstEntry_.find(key);
    if (found == firstEntry_.end())
        return nullptr;
    Entry& entry = entries_[found->second];
    if (!entry.icon && entry.storedImage >= 0 && storedImages_) {
        entry.icon.reset(ImageList_GetIcon(storedImages_.get(), entry.storedImage, ILD_NORMAL));
        entry.storedImage = -1;
    }
    return entry.icon.get();
}

DataFileImage IconStore::ImageOf(const std::string& key) {
    auto found = firstEntry_.find(key);
    if (found == firstEntry_.end())
        return DataFileImage();
    const Entry& entry = entries_[found->second];
    if (!entry.icon && entry.storedImage >= 0 && storedImages_)
        return DataFileImage{nullptr, storedImages_.get(), entry.storedImage};
    return DataFileImage{Find(key)};
}

void IconStore::AddStoredImage(const std::string& command, int image) {
    storedByCommand_.emplace(command, image);  // the first item of a command keeps its image
}

bool IconStore::TakeStoredImage(const std::string& command, const std::string& key) {
    auto stored = storedByCommand_.find(command);
    if (stored == storedByCommand_.end())
        return Contains(key);
    if (!Contains(key)) {
        entries_.push_back(Entry{key, UniqueIcon(), stored->second});
        firstEntry_.emplace(key, entries_.size() - 1);
    }
    storedByCommand_.erase(stored);
    return true;
}

HICON IconStore::Append(const std::string& key, HICON icon) {
    entries_.push_back(Entry{key, UniqueIcon(icon)});
    firstEntry_.emplace(key, entries_.size() - 1);  // keeps the first entry of a key
    return icon;
}

IconStore::~IconStore() {
    ForgetIconPictures();
}

HICON IconStore::DefaultItemIcon(int size) {
    if (!defaultItemIcon_ || defaultItemIconSize_ != size) {
        defaultItemIcon_.reset(static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ITEM), IMAGE_ICON, size, size, 0)));
        defaultItemIconSize_ = size;
    }
    return defaultItemIcon_.get();
}

// The pictures drawn from the icons go with them: a destroyed icon's handle may be reused.
void IconStore::Clear() {
    ForgetIconPictures();
    firstEntry_.clear();
    entries_.clear();
    storedByCommand_.clear();
    storedImages_.reset();
    defaultItemIcon_.reset();
    loadedFile_.reset();
}

std::string IconKeyOf(const std::string& command) {
    std::string program, arguments;
    SplitCommandLine(command, program, arguments, FileSystemProbe());
    return program.empty() ? command : program;
}

// The shell holds a small and a large icon per file, at the sizes of the system metrics (16 and
// 32 at 96 DPI). The one nearer the wanted size is asked for; when it has another size (a theme's
// own size, or a monitor of another DPI than the system's), the icon is read at the wanted size
// from the file the shell names, so that it is drawn crisp and not stretched.
HICON ShellIcon(const std::string& path, int iconSize) {
    const int small = GetSystemMetrics(SM_CXSMICON);
    const int large = GetSystemMetrics(SM_CXICON);
    const bool nearerLarge = std::abs(iconSize - large) < std::abs(iconSize - small);
    SHFILEINFOW info = {};
    const UINT flags = SHGFI_ICON | (nearerLarge ? SHGFI_LARGEICON : SHGFI_SMALLICON);
    // For a missing path the shell may leave a stale handle in hIcon; only the result counts.
    if (!SHGetFileInfoW(Wide(path).c_str(), 0, &info, sizeof(info), flags))
        return nullptr;
    if (info.hIcon && IconWidth(info.hIcon) != iconSize) {
        if (HICON exact = IconFromShellLocation(path, iconSize)) {
            DestroyIcon(info.hIcon);
            return exact;
        }
    }
    return info.hIcon;
}

HICON LookUpIcon(IconStore& store, const std::string& command, int iconSize, bool useStore) {
    if (command.empty())
        return nullptr;
    const std::string key = IconKeyOf(command);
    if (useStore) {
        if (HICON stored = store.Find(key))
            return stored;
        if (store.TakeStoredImage(command, key)) {
            if (HICON restored = store.Find(key))
                return restored;
        }
    }
    HICON icon = ShellIcon(key, iconSize);
    return icon ? store.Append(key, icon) : nullptr;
}

void PairImagesWithItems(StoredImages&& images, ItemList& items, IconStore& store, int iconSize) {
    const int imageCount = images.list ? images.Count() : 0;
    int next = 0;
    for (const CLaunchItem* item : items.UsedItemsByIndex()) {
        const int image = next++;
        if (image < imageCount && !images.blank[static_cast<size_t>(image)]) {
            store.AddStoredImage(item->strCommand, image);
            continue;
        }
        if (!LookUpIcon(store, item->strCommand, iconSize, false) && !IsVolumeUnreachable(item->strCommand))
            items.ClearItem(item->nIndex);
    }
    store.SetStoredImages(std::move(images.list));
}

bool FileUnchangedSince(const std::string& path, const FILETIME& since) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    return !path.empty() && GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data) &&
           CompareFileTime(&data.ftLastWriteTime, &since) <= 0;
}

namespace {

// The icons of one save pass. The shell gives the same picture for the same path, so a program
// is asked for once per pass however many items start it; with thousands of items the shell
// queries are nearly all of the save's time. A program unchanged since the data file was written
// keeps the icon the store holds for it, and is not asked at all. Icons are owned by the store.
class FreshIcons {
public:
    FreshIcons(IconStore& store, int iconSize, const FILETIME* keptSince)
        : store_(store), iconSize_(iconSize), keptSince_(keptSince) {}

    // No image when the command's program has no icon.
    DataFileImage For(const std::string& command) {
        if (command.empty())
            return DataFileImage();
        // Equal commands have equal keys: the split, which probes the file system, is done once.
        auto known = byCommand_.find(command);
        if (known != byCommand_.end())
            return known->second;
        const std::string key = IconKeyOf(command);
        auto asked = byKey_.find(key);
        DataFileImage image = asked != byKey_.end() ? asked->second : DataFileImage();
        if (asked == byKey_.end()) {
            image = Kept(command, key);
            if (image)
                byKey_.emplace(key, image);
            else
                image = Ask(key);
        }
        byCommand_.emplace(command, image);
        return image;
    }

private:
    DataFileImage Kept(const std::string& command, const std::string& key) {
        if (!keptSince_ || !FileUnchangedSince(key, *keptSince_))
            return DataFileImage();
        if (store_.Contains(key) || store_.TakeStoredImage(command, key))
            return store_.ImageOf(key);
        return DataFileImage();
    }

    DataFileImage Ask(const std::string& key) {
        HICON icon = ShellIcon(key, iconSize_);
        if (icon)
            store_.Append(key, icon);
        byKey_.emplace(key, DataFileImage{icon});
        return DataFileImage{icon};
    }

    IconStore& store_;
    const int iconSize_;
    const FILETIME* keptSince_;                                 // not owned
    std::unordered_map<std::string, DataFileImage> byCommand_;  // images not owned
    std::unordered_map<std::string, DataFileImage> byKey_;      // images not owned
};

}  // namespace

UniqueImageList CollectItemImages(const ItemList& items, IconStore& store, int iconSize, const FILETIME* keptSince) {
    FreshIcons fresh(store, iconSize, keptSince);
    std::vector<DataFileImage> images;  // owned by the store
    for (const CLaunchItem* item : items.UsedItemsByIndex())
        images.push_back(fresh.For(item->strCommand));
    // Placeholders after the last icon add nothing: items beyond the images go to the shell.
    while (!images.empty() && !images.back())
        images.pop_back();
    if (images.empty())
        return UniqueImageList();
    return DataFileImagesOf(images, iconSize);
}

bool LoadedFileStillFits(const IconStore& store, const ItemList& items) {
    const std::optional<LoadedDataFile>& loaded = store.LoadedFile();
    if (!loaded || !loaded->complete || loaded->commands != UsedCommandsFingerprint(items))
        return false;
    std::unordered_set<std::string> checked;
    for (const CLaunchItem* item : items.UsedItemsByIndex()) {
        if (!checked.insert(item->strCommand).second)
            continue;
        if (!FileUnchangedSince(IconKeyOf(item->strCommand), loaded->written))
            return false;
    }
    return true;
}
