// icon_store_bench: times the icon store load for many items from the shell and from the data
// file, the save, and store lookups with many entries. Prints one line per measurement.
//
//   icon_store_bench [ITEMS] [PROGRAMS]
//     default 1000 items, each with a program of its own; with PROGRAMS the items share that
//     many programs (item i starts program i % PROGRAMS), as with a few favourite tools.
#include "../../bench/bench_report.h"
#include "items/data_file.h"
#include "items/icon_store.h"
#include "settings/item_list.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Seconds() {
    return bench::NowMs() / 1000.0;
}

void Report(const char* what, int count, double seconds) {
    std::printf("%-44s %6d items %9.1f ms %8.3f ms/item\n", what, count, seconds * 1000, seconds * 1000 / count);
}

// Where the time of a save goes: the shell queries of every item, the image list made from
// icons at hand, and the encoding and write of the file.
void ReportSaveParts(const ItemList& items, const std::string& path, int count) {
    std::vector<UniqueIcon> icons;
    double start = Seconds();
    for (const CLaunchItem* item : items.UsedItemsByIndex())
        icons.emplace_back(ShellIcon(IconKeyOf(item->strCommand), 16));
    Report("  a shell query for every item", count, Seconds() - start);
    start = Seconds();
    std::vector<HICON> handles;
    for (const UniqueIcon& icon : icons)
        handles.push_back(icon.get());
    UniqueImageList list = DataFileImagesOf(handles, 16);
    Report("  the image list from icons at hand", count, Seconds() - start);
    start = Seconds();
    WriteDataFile(path, list.get());
    Report("  encoding and writing the file", count, Seconds() - start);
}

}  // namespace

int main(int argc, char** argv) {
    InitCommonControls();
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int programCount = argc > 2 ? std::max(1, std::atoi(argv[2])) : count;
    const std::vector<std::string> programs = bench::SystemPrograms();
    if (programs.empty()) {
        std::fprintf(stderr, "no programs found\n");
        return 1;
    }
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof(temp), temp);
    const std::string path = std::string(temp) + "kv-icon-bench.dat";
    DeleteFileA(path.c_str());
    // Every item gets a program of its own: a hard link to one of the system's programs, in
    // folders of kProgramsPerFolder as programs usually lie.
    constexpr int kProgramsPerFolder = 20;
    const std::string root = std::string(temp) + "kv-icon-bench";
    CreateDirectoryA(root.c_str(), nullptr);
    std::vector<std::string> links, folders;
    ItemList items;
    for (int i = 0; i < programCount && i < count; ++i) {
        if (i % kProgramsPerFolder == 0) {
            folders.push_back(root + "\\App " + std::to_string(i / kProgramsPerFolder));
            CreateDirectoryA(folders.back().c_str(), nullptr);
        }
        links.push_back(folders.back() + "\\tool" + std::to_string(i) + ".exe");
        DeleteFileA(links.back().c_str());
        if (!CreateHardLinkA(links.back().c_str(), programs[static_cast<size_t>(i) % programs.size()].c_str(), nullptr))
            links.back() = programs[static_cast<size_t>(i) % programs.size()];
    }
    for (int i = 0; i < count; ++i)
        items.SetItem(i, "item", links[static_cast<size_t>(i) % links.size()] + " /x");
    std::printf("%d items over %zu programs, linked to %zu system programs\n", count, links.size(), programs.size());

    IconStore store;
    double start = Seconds();
    PairImagesWithItems(StoredImages(), items, store, 16);
    Report("load without data file (shell)", count, Seconds() - start);

    store.Clear();
    start = Seconds();
    UniqueImageList images = CollectItemImages(items, store, 16);
    const bool written = images && WriteDataFile(path, images.get());
    Report(written ? "save (shell icons + write)" : "save FAILED", count, Seconds() - start);
    ReportSaveParts(items, path, count);

    store.Clear();
    start = Seconds();
    StoredImages stored = ReadDataFile(path);
    const double read = Seconds() - start;
    PairImagesWithItems(std::move(stored), items, store, 16);
    Report("load from data file (read + pair)", count, Seconds() - start);
    Report("  of which reading the file", count, read);

    // A later save with every program unchanged since the file: the stored icons are kept.
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    start = Seconds();
    UniqueImageList kept = CollectItemImages(items, store, 16, &now);
    Report("save keeping the stored icons (no write)", count, Seconds() - start);

    start = Seconds();
    for (const CLaunchItem* item : items.UsedItemsByIndex())
        IconKeyOf(item->strCommand);
    Report("  splitting the commands alone", count, Seconds() - start);
    start = Seconds();
    for (int i = 0; i < count; ++i)
        DestroyIcon(ImageList_GetIcon(stored.list.get(), i, ILD_NORMAL));
    Report("  copying the images alone", count, Seconds() - start);

    // Lookups with the store in use, on a store with one entry per item and distinct keys.
    IconStore big;
    const int entries = 10000;
    HICON icon = ImageList_GetIcon(stored.list.get(), 0, ILD_NORMAL);
    for (int i = 0; i < entries; ++i)
        big.Append("C:\\programs\\tool" + std::to_string(i) + ".exe", CopyIcon(icon));
    DestroyIcon(icon);
    start = Seconds();
    int found = 0;
    for (int i = 0; i < entries; ++i)
        found += big.Find("C:\\programs\\tool" + std::to_string(i) + ".exe") != nullptr;
    Report("store lookups among 10000 entries", found, Seconds() - start);
    // The same lookups as a walk from the first entry, for comparison.
    std::vector<std::string> keys;
    for (int i = 0; i < entries; ++i)
        keys.push_back("C:\\programs\\tool" + std::to_string(i) + ".exe");
    start = Seconds();
    found = 0;
    for (int i = 0; i < entries; ++i) {
        const std::string key = "C:\\programs\\tool" + std::to_string(i) + ".exe";
        for (const std::string& candidate : keys) {
            if (candidate == key) {
                ++found;
                break;
            }
        }
    }
    Report("  the same as linear walks", found, Seconds() - start);
    DeleteFileA(path.c_str());
    for (const std::string& link : links) {
        if (link.compare(0, root.size(), root) == 0)  // never the system program a link fell back to
            DeleteFileA(link.c_str());
    }
    for (const std::string& folder : folders)
        RemoveDirectoryA(folder.c_str());
    RemoveDirectoryA(root.c_str());
    return 0;
}
