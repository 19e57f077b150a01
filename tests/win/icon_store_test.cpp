// The icon store with real shell icons: lookups, pairing the data file's images with items,
// collecting the images to save, the launcher window's load and save, and the loading icon.
#include "items/icon_store.h"

#include "framework/registry_profile.h"
#include "items/data_file.h"
#include "items/tray_icon.h"
#include "launcher/body_wnd.h"
#include "settings/item_list.h"
#include "support/icon_scratch.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

namespace {

using namespace kvtest;

constexpr int kSize = 16;
const std::string kNotepadWithFile = std::string(kNotepad) + " readme.txt";

std::vector<uint32_t> ShellPixels(const char* path) {
    UniqueIcon icon(ShellIconFor(path, kSize));
    return PixelsOf(icon.get(), kSize);
}

// Stored images as a read of the data file gives them: 'n' notepad's icon, 'r' regedit's,
// 'b' a placeholder.
StoredImages Images(const std::string& pattern) {
    StoredImages images;
    images.list.reset(ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 0, 1));
    for (char c : pattern) {
        if (c == 'b') {
            AppendBlankImage(images.list.get());
        } else {
            UniqueIcon icon(ShellIconFor(c == 'n' ? kNotepad : kRegedit, kSize));
            ImageList_ReplaceIcon(images.list.get(), -1, icon.get());
        }
        images.blank.push_back(c == 'b');
    }
    return images;
}

std::string CommandAt(const ItemList& items, int index) {
    const CLaunchItem* item = items.FindItem(index);
    return item ? item->strCommand : "<none>";
}

class IconStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();
        ASSERT_NE(ShellPixels(kNotepad), ShellPixels(kRegedit)) << "the two test programs need different icons";
    }
    std::vector<uint32_t> StoredPixels(const std::string& command) {
        HICON icon = LookUpIcon(store, command, kSize, true);
        return icon ? PixelsOf(icon, kSize) : std::vector<uint32_t>();
    }

    IconStore store;
    ItemList items;
};

TEST_F(IconStoreTest, LookupsShareOneEntryPerProgramOnlyWhileTheStoreIsInUse) {
    HICON plain = LookUpIcon(store, kNotepad, kSize, true);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain, LookUpIcon(store, kNotepadWithFile, kSize, true));
    EXPECT_EQ(1u, store.Size());

    // Not using the store: every call asks the shell and appends; the first entry still wins.
    HICON fresh = LookUpIcon(store, kNotepadWithFile, kSize, false);
    ASSERT_TRUE(fresh);
    EXPECT_NE(plain, fresh);
    EXPECT_EQ(2u, store.Size());
    EXPECT_EQ(plain, store.Find(kNotepad));

    EXPECT_FALSE(LookUpIcon(store, kMissingProgram, kSize, true));
    EXPECT_FALSE(LookUpIcon(store, "", kSize, true));
    EXPECT_EQ(2u, store.Size());
    EXPECT_TRUE(LookUpIcon(store, "C:\\windows", kSize, true));  // folders have icons too
    store.Clear();
    EXPECT_EQ(0u, store.Size());
    EXPECT_FALSE(store.Find(kNotepad));
}

TEST_F(IconStoreTest, WithoutAFileEveryItemGoesToTheShellAndItemsWithoutProgramAreCleared) {
    items.SetItem(0, "a", kNotepadWithFile);
    items.SetItem(1, "b", kMissingProgram);
    items.SetItem(2, "c", kRegedit);
    PairImagesWithItems(StoredImages(), items, store, kSize);
    EXPECT_EQ(kNotepadWithFile, CommandAt(items, 0));
    EXPECT_EQ("", CommandAt(items, 1));
    EXPECT_EQ(ShellPixels(kRegedit), StoredPixels(kRegedit));
}

TEST_F(IconStoreTest, ImagesArePairedByPositionWithTheUsedItemsInIndexOrder) {
    // Appended out of order, with a blank record between: the images follow the index order.
    items.SetItem(7, "late", kNotepad);
    items.SetItem(2, "early", kNotepadWithFile);
    items.SetItem(4, "blank", "");
    items.SetItem(5, "middle", kMissingProgram);
    PairImagesWithItems(Images("rnr"), items, store, kSize);
    // Item 2 took regedit's picture, under notepad's key; the missing program kept its image.
    EXPECT_EQ(ShellPixels(kRegedit), StoredPixels(kNotepad));
    EXPECT_EQ(kMissingProgram, CommandAt(items, 5));
    EXPECT_EQ(ShellPixels(kNotepad), StoredPixels(kMissingProgram));
    // Item 7 shares item 2's program and so its store entry: no third icon is made.
    EXPECT_EQ(2u, store.Size());
}

TEST_F(IconStoreTest, SurplusImagesAreIgnoredAndMissingOnesComeFromTheShell) {
    items.SetItem(0, "a", kRegedit);
    PairImagesWithItems(Images("nnnn"), items, store, kSize);
    EXPECT_EQ(0u, store.Size());  // restored entries are made when first asked for
    EXPECT_EQ(ShellPixels(kNotepad), StoredPixels(kRegedit));
    EXPECT_EQ(1u, store.Size());

    ItemList more;
    more.SetItem(0, "a", kMissingProgram);
    more.SetItem(1, "b", kRegedit);
    more.SetItem(2, "c", "C:\\kv-no-such-folder\\other.exe");
    IconStore fresh;
    PairImagesWithItems(Images("n"), more, fresh, kSize);
    EXPECT_EQ(kMissingProgram, CommandAt(more, 0));
    EXPECT_EQ(ShellPixels(kRegedit), PixelsOf(fresh.Find(kRegedit), kSize));
    EXPECT_EQ("", CommandAt(more, 2));
}

TEST_F(IconStoreTest, APlaceholderSendsItsItemToTheShell) {
    items.SetItem(0, "a", kMissingProgram);
    items.SetItem(1, "b", kRegedit);
    items.SetItem(2, "c", kNotepad);
    PairImagesWithItems(Images("bbn"), items, store, kSize);
    EXPECT_EQ("", CommandAt(items, 0));
    EXPECT_EQ(ShellPixels(kRegedit), StoredPixels(kRegedit));
    EXPECT_EQ(ShellPixels(kNotepad), StoredPixels(kNotepad));
}

TEST_F(IconStoreTest, AnItemWithoutIconAtSaveKeepsTheLaterItemsOnTheirImages) {
    ScratchFolder folder;
    const std::string path = folder.File("Kestrovar.dat");
    items.SetItem(0, "a", kNotepad);
    items.SetItem(1, "b", kMissingProgram);
    items.SetItem(2, "c", kRegedit);
    UniqueImageList saved = CollectItemImages(items, store, kSize);
    ASSERT_TRUE(saved);
    ASSERT_TRUE(WriteDataFile(path, saved.get()));

    StoredImages read = ReadDataFile(path);
    EXPECT_EQ((std::vector<bool>{false, true, false}), read.blank);
    IconStore loaded;
    PairImagesWithItems(std::move(read), items, loaded, kSize);
    EXPECT_EQ("", CommandAt(items, 1));
    EXPECT_EQ(ShellPixels(kRegedit), PixelsOf(LookUpIcon(loaded, kRegedit, kSize, true), kSize));
    EXPECT_EQ(ShellPixels(kNotepad), PixelsOf(LookUpIcon(loaded, kNotepad, kSize, true), kSize));
}

TEST_F(IconStoreTest, TrailingItemsWithoutIconAddNoImagesAndNoIconsMeanNoList) {
    items.SetItem(0, "a", kNotepad);
    items.SetItem(1, "b", kMissingProgram);
    UniqueImageList list = CollectItemImages(items, store, kSize);
    ASSERT_TRUE(list);
    EXPECT_EQ(1, ImageList_GetImageCount(list.get()));

    ItemList none;
    none.SetItem(0, "a", kMissingProgram);
    EXPECT_FALSE(CollectItemImages(none, store, kSize));
    EXPECT_FALSE(CollectItemImages(ItemList(), store, kSize));
}

// The save as it was before a program was asked once per pass: every item asks the shell.
UniqueImageList CollectAskingForEveryItem(const ItemList& items, IconStore& store, int size) {
    std::vector<HICON> icons;
    for (const CLaunchItem* item : items.UsedItemsByIndex())
        icons.push_back(LookUpIcon(store, item->strCommand, size, false));
    while (!icons.empty() && !icons.back())
        icons.pop_back();
    if (icons.empty())
        return UniqueImageList();
    return DataFileImagesOf(icons, size);
}

TEST_F(IconStoreTest, ASaveAsksEachProgramOnceAndWritesTheSameFileAsAskingForEveryItem) {
    const std::string gone2 = "C:\\kv-no-such-folder\\two.exe";
    const std::vector<std::string> commands = {
        kNotepad,
        kNotepadWithFile,
        kMissingProgram,
        kRegedit,
        kNotepad,  // the same command again
        "\"C:\\windows\\regedit.exe\" -m",
        gone2 + " /x",
        "",
        "C:\\windows",
        kMissingProgram,
        std::string(kRegedit) + " -m",
        kNotepadWithFile,
    };
    ScratchFolder folder;
    for (int size : {16, 32}) {
        ItemList mixed;
        int index = 0;
        for (const std::string& command : commands)
            mixed.SetItem(index++, "item", command);
        // Many items over few programs, positions shifted by an unused index, a trailing item
        // without icon.
        for (int n = 0; n < 150; ++n)
            mixed.SetItem(++index, "item", commands[static_cast<size_t>(n) % commands.size()]);
        mixed.SetItem(++index, "item", gone2);

        IconStore everyItem;
        UniqueImageList old = CollectAskingForEveryItem(mixed, everyItem, size);
        IconStore once;
        UniqueImageList collected = CollectItemImages(mixed, once, size);
        ASSERT_TRUE(old && collected) << size;
        const std::string oldPath = folder.File("old.dat"), newPath = folder.File("new.dat");
        ASSERT_TRUE(WriteDataFile(oldPath, old.get()));
        ASSERT_TRUE(WriteDataFile(newPath, collected.get()));
        EXPECT_EQ(ReadBytes(oldPath), ReadBytes(newPath)) << size;
        EXPECT_GT(ImageList_GetImageCount(collected.get()), 100) << size;
        // notepad, regedit and the folder: one shell icon each.
        EXPECT_EQ(3u, once.Size()) << size;
    }
}

// The launcher window's own load and save, on the data file in the application-data folder.
// The window itself is not created: these operations need only its record.
class BodyIconStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\KvItemsTest");
        path = DataFilePath();
        ASSERT_FALSE(path.empty());
        hadFile = Exists(path);
        if (hadFile)
            previous = ReadBytes(path);
        body = std::make_unique<CKestrovarBodyWnd>(profile);
        body->Settings().ShowTaskTrayIcon = 0;
        body->Settings().IconSize = kSize;
    }
    void TearDown() override {
        body.reset();
        if (hadFile)
            WriteBytes(path, previous);
        else
            DeleteFileA(path.c_str());
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\KvItemsTest");
    }
    ItemList& Items() { return body->Settings().Items; }

    RegistryProfile profile{"KvItemsTest", "Kestrovar"};
    std::unique_ptr<CKestrovarBodyWnd> body;
    std::string path;
    bool hadFile = false;
    Bytes previous;
};

TEST_F(BodyIconStoreTest, ALoadDropsAnItemWhoseProgramIsGoneUnlessTheFileHoldsItsImage) {
    ASSERT_TRUE(WriteDataFile(path, Images("rb").list.get()));
    const std::string gone2 = "C:\\kv-no-such-folder\\two.exe";
    const std::string gone3 = "C:\\kv-no-such-folder\\three.exe -x";
    Items().SetItem(0, "kept", kMissingProgram);
    Items().SetItem(1, "placeholder", gone2);
    Items().SetItem(2, "beyond", gone3);
    Items().SetItem(3, "shell", kNotepad);

    body->LoadIconStore();
    EXPECT_TRUE(body->IsDataLoaded());
    EXPECT_EQ(kMissingProgram, CommandAt(Items(), 0));
    EXPECT_EQ("", CommandAt(Items(), 1));
    EXPECT_EQ("", CommandAt(Items(), 2));
    HICON kept = body->GetIcon(kMissingProgram);
    ASSERT_TRUE(kept);
    EXPECT_EQ(ShellPixels(kRegedit), PixelsOf(kept, kSize));
    EXPECT_EQ(kept, body->GetIcon(kMissingProgram));  // from the store now
    EXPECT_EQ(ShellPixels(kNotepad), PixelsOf(body->GetIcon(kNotepad), kSize));

    // At the save the gone program has no icon: it becomes a placeholder, notepad follows it.
    body->SaveIconStore();
    EXPECT_FALSE(body->IsDataLoaded());
    StoredImages saved = ReadDataFile(path);
    EXPECT_EQ((std::vector<bool>{true, false}), saved.blank);
}

TEST_F(BodyIconStoreTest, ASaveWithoutAnyIconLeavesTheOlderFileAsItWas) {
    ASSERT_TRUE(WriteDataFile(path, Images("nrn").list.get()));
    const Bytes before = ReadBytes(path);
    Items().SetItem(0, "gone", kMissingProgram);
    body->SaveIconStore();
    EXPECT_EQ(before, ReadBytes(path));
    Items().RemoveAllItems();
    body->SaveIconStore();
    EXPECT_EQ(before, ReadBytes(path));
}

FILETIME LastWriteOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// A later quit: programs unchanged since the data file keep their icons, and the file is
// written exactly as asking the shell for every item would write it; with nothing changed it is
// not written at all; a program written since gets its new icon.
TEST_F(BodyIconStoreTest, ASaveAsksTheShellOnlyForProgramsWrittenSinceTheDataFile) {
    ScratchFolder folder;
    const std::string tool = folder.File("tool.exe");
    WriteBytes(tool, ReadBytes(kNotepad));
    Items().SetItem(0, "a", kNotepad);
    Items().SetItem(1, "b", tool + " -x");
    Items().SetItem(3, "c", kRegedit);
    body->SaveIconStore();
    const Bytes first = ReadBytes(path);

    body->LoadIconStore();
    const FILETIME written = LastWriteOf(path);
    body->SaveIconStore();
    EXPECT_EQ(first, ReadBytes(path));
    const FILETIME after = LastWriteOf(path);
    EXPECT_EQ(0, CompareFileTime(&written, &after)) << "an unchanged file is left as it is";

    body->LoadIconStore();
    Items().SetItem(4, "d", kNotepad);
    body->SaveIconStore();
    IconStore everyItem;
    UniqueImageList expected = CollectAskingForEveryItem(Items(), everyItem, kSize);
    ASSERT_TRUE(WriteDataFile(folder.File("expected.dat"), expected.get()));
    EXPECT_EQ(ReadBytes(folder.File("expected.dat")), ReadBytes(path));

    // A file whose images are all notepad's; the tool is written after it, with regedit's bytes
    // (under a name the shell has not seen yet, so that no cached icon answers for it).
    const std::string newTool = folder.File("new tool.exe");
    Items().RemoveAllItems();
    Items().SetItem(0, "a", kNotepad);
    Items().SetItem(1, "b", newTool);
    WriteBytes(newTool, ReadBytes(kNotepad));
    ASSERT_TRUE(WriteDataFile(path, Images("nn").list.get()));
    body->LoadIconStore();
    Sleep(50);
    WriteBytes(newTool, ReadBytes(kRegedit));
    body->SaveIconStore();
    IconStore reloaded;
    Items().SetItem(1, "b", kMissingProgram);  // images pair by position: it gets image 1
    PairImagesWithItems(ReadDataFile(path), Items(), reloaded, kSize);
    EXPECT_EQ(ShellPixels(kRegedit), PixelsOf(LookUpIcon(reloaded, kMissingProgram, kSize, true), kSize));
    EXPECT_EQ(ShellPixels(kNotepad), PixelsOf(LookUpIcon(reloaded, kNotepad, kSize, true), kSize));
}

int WidthOf(HICON icon) {
    ICONINFO info = {};
    BITMAP bitmap = {};
    if (!icon || !GetIconInfo(icon, &info))
        return 0;
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// A launcher drawn at another scale needs icons of other sizes than the shell's small and large
// ones; and a data file written at another size is not used, or its pictures would be drawn
// stretched for good.
TEST_F(BodyIconStoreTest, IconsComeAtTheDrawnSizeAndAFileOfAnotherSizeIsNotUsed) {
    for (int size : {16, 20, 24, 32, 48}) {
        UniqueIcon icon(ShellIcon(kRegedit, size));
        EXPECT_EQ(size, WidthOf(icon.get())) << size;
    }
    ASSERT_TRUE(WriteDataFile(path, Images("r").list.get()));
    Items().SetItem(0, "kept only by its image", kMissingProgram);
    Items().SetItem(1, "b", kNotepad);
    body->Settings().IconSize = 24;
    body->LoadIconStore();
    EXPECT_EQ("", CommandAt(Items(), 0));
    EXPECT_EQ(24, WidthOf(body->GetIcon(kNotepad)));
    body->SaveIconStore();
    int cx = 0, cy = 0;
    StoredImages saved = ReadDataFile(path);
    ASSERT_TRUE(saved.list);
    EXPECT_TRUE(ImageList_GetIconSize(saved.list.get(), &cx, &cy));
    EXPECT_EQ(24, cx);
}

// The loading icon: present in the notification area while loading, gone after.
TEST(TrayLoadingIconTest, TheEntryLivesUntilTheLoadEnds) {
    HWND window = CreateWindowExA(0, "STATIC", "tray owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(window);
    auto entryExists = [window] {
        NOTIFYICONDATAA probe = {};
        probe.cbSize = NOTIFYICONDATAA_V2_SIZE;
        probe.hWnd = window;
        probe.uID = kLoadingTrayIconId;
        probe.uFlags = NIF_TIP;
        lstrcpyA(probe.szTip, kLoadingTrayTip);
        return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
    };
    auto waitFor = [](auto condition) {
        for (int waited = 0; waited < 3000; waited += 20) {
            if (condition())
                return true;
            Sleep(20);
        }
        return false;
    };
    std::atomic<bool> loaded{false};
    ASSERT_TRUE(StartTrayLoadingIcon(window, &loaded));
    EXPECT_TRUE(waitFor(entryExists));
    Sleep(2 * kLoadingFrameMilliseconds);  // a few frames on, the entry is still there
    EXPECT_TRUE(entryExists());
    loaded = true;
    EXPECT_TRUE(waitFor([&] { return !entryExists(); }));
    DestroyWindow(window);
}

}  // namespace
