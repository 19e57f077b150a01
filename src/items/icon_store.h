// The icon store: icons made by the shell for program paths, appended as they are made and
// emptied as a whole. Icons handed out stay owned by the store.
#pragma once

#include "framework/handles.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class ItemList;
struct DataFileImage;
struct StoredImages;

// What the data file read at the last load held: when it was written, and the fingerprint of the
// commands its images stand for. Complete when every item of that list had an image in it.
struct LoadedDataFile {
    FILETIME written = {};
    uint64_t commands = 0;
    bool complete = false;
};

// Icons restored from the data file are made from its image list when first asked for, and
// their keys are found then too: making an icon and splitting a command (which probes the file
// system) are the costly parts of a load, and a start only shows the icons of one page.
class IconStore {
public:
    IconStore() = default;
    ~IconStore();
    IconStore(const IconStore&) = delete;
    IconStore& operator=(const IconStore&) = delete;
    struct Entry {
        std::string strKey;  // the program path whose shell icon this is
        UniqueIcon icon;
        int storedImage = -1;  // until the icon is made: its image in the restored list
    };

    // The icon of the first entry whose key equals key byte for byte, or nullptr.
    HICON Find(const std::string& key);
    // The data-file image of that entry while its icon is not made yet, else just the icon;
    // a save copies the image as it is instead of making an icon to be drawn back.
    DataFileImage ImageOf(const std::string& key);
    bool Contains(const std::string& key) const { return firstEntry_.count(key) != 0; }
    // Takes ownership of icon (which must not be null) and returns it.
    HICON Append(const std::string& key, HICON icon);
    // Remembers that the item with this command has image `image` of the restored list.
    void AddStoredImage(const std::string& command, int image);
    // Appends the entry of a command's stored image under key (its program), if it has one
    // and the key has no entry yet. True when the key has an entry afterwards.
    bool TakeStoredImage(const std::string& command, const std::string& key);
    // The image list the stored entries draw on; the store keeps it until Clear.
    void SetStoredImages(UniqueImageList images) { storedImages_ = std::move(images); }
    // The program's own item icon at size, for items that stay without a shell icon for now
    // (their drive is away). Owned by the store.
    HICON DefaultItemIcon(int size);
    void NoteLoadedFile(const LoadedDataFile& file) { loadedFile_ = file; }
    // The data file of the last load; none when the load read none.
    const std::optional<LoadedDataFile>& LoadedFile() const { return loadedFile_; }
    void Clear();
    size_t Size() const { return entries_.size(); }

private:
    UniqueImageList storedImages_;
    UniqueIcon defaultItemIcon_;
    std::optional<LoadedDataFile> loadedFile_;
    int defaultItemIconSize_ = 0;
    std::vector<Entry> entries_;
    // Command → its image in the restored list, for items whose key is not known yet.
    std::unordered_map<std::string, int> storedByCommand_;
    // Key → position of its first entry; later entries with the same key are never found.
    std::unordered_map<std::string, size_t> firstEntry_;
};

// The store key of a command: its program part, or the whole command when that is empty.
std::string IconKeyOf(const std::string& command);

// The shell's icon for a path at iconSize x iconSize pixels where its file has one (else the
// shell's small or large icon, whichever is nearer that size), owned by the caller; nullptr when
// the shell has none, for example for a path that does not exist.
HICON ShellIcon(const std::string& path, int iconSize);

// The icon lookup of the launcher: from the store when useStore is set and it holds the
// command's key, otherwise from the shell, appended to the store. nullptr for no icon.
HICON LookUpIcon(IconStore& store, const std::string& command, int iconSize, bool useStore);

// Gives every used item, in ascending index order, the stored image at its position (an entry
// under its key whose icon is made when first asked for; the store takes the image list);
// items beyond the images, and items whose image is a placeholder, get the shell's icon; an
// item with no icon at all is cleared, unless its drive or share is away.
void PairImagesWithItems(StoredImages&& images, ItemList& items, IconStore& store, int iconSize);

// The icons of the used items in ascending index order, as an image list for the data file; a
// placeholder stands for an item without icon. None when no item has an icon. The shell is asked
// once per program key, shared by the items that start the same program; with keptSince, a
// program whose file was last written no later than that keeps the icon the store holds for it
// (the shell would give the same picture). The icons made are appended to the store.
UniqueImageList CollectItemImages(const ItemList& items,
                                  IconStore& store,
                                  int iconSize,
                                  const FILETIME* keptSince = nullptr);

// Whether the file at path exists and was last written no later than since.
bool FileUnchangedSince(const std::string& path, const FILETIME& since);

// Whether the data file of the last load still fits the items exactly: the same commands in
// the same order, every one with its image, and no program file written since.
bool LoadedFileStillFits(const IconStore& store, const ItemList& items);
