// kvdatafiles: damaged icon data files, made from a good one and put through the program's own
// load and save code (ReadDataFile, the failure message, pairing with the items, icons made
// from the stored images, CollectItemImages and WriteDataFile), many cases in one process.
//
//   kvdatafiles make SOURCE DIR       write the cases made from SOURCE (a data file the program
//                                     wrote) into DIR; the name tells what the load must do:
//                                     bad-*  refused at the read step (Code = 3)
//                                     good-* read, with the image count of its header
//                                     any-*  either of the two
//   kvdatafiles load DIR COMMAND...   load every file of DIR with items of these commands, and
//                                     save after every good case and every tenth other one; one
//                                     line per case ("NAME ok step=N images=K" or "NAME FAIL:
//                                     why"), then "cases N failed M"; exit 1 when any failed
//   kvdatafiles check FILE            print "step=N images=K" of one file as the program reads it
//
// Random cases come from a fixed seed, so every run makes the same files.
#include <windows.h>
// windows.h first: commctrl.h needs its types.
#include <commctrl.h>

#include "items/data_file.h"
#include "items/icon_store.h"
#include "items/imagelist_stream.h"
#include "settings/item_list.h"
#include "tests/support/little_endian.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kSeed = 20240917;
constexpr int kRandomFiles = 100;
constexpr int kMutatedFiles = 100;
constexpr size_t kTruncationStep = 64;
constexpr size_t kBigFileBytes = 50u * 1024 * 1024;
constexpr char kReadFailure[] = "Code = ";
constexpr int kSaveEvery = 10;

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

using kvtest::Put16;
using kvtest::Put32;

// ---- making the cases -----------------------------------------------------------------------

class CaseWriter {
public:
    explicit CaseWriter(std::string dir) : dir_(std::move(dir)) {}

    bool Write(const std::string& name, const Bytes& bytes) {
        ++count_;
        if (WriteBytes(dir_ + "\\" + name + ".dat", bytes))
            return true;
        std::printf("cannot write %s\n", name.c_str());
        ok_ = false;
        return false;
    }
    int Count() const { return count_; }
    bool Ok() const { return ok_; }

private:
    std::string dir_;
    int count_ = 0;
    bool ok_ = true;
};

std::string Numbered(const char* prefix, size_t n) {
    char name[64];
    std::snprintf(name, sizeof(name), "%s%05zu", prefix, n);
    return name;
}

void MakeTruncations(const Bytes& source, CaseWriter& out) {
    out.Write("bad-empty", Bytes());
    for (size_t length = kTruncationStep; length < source.size(); length += kTruncationStep)
        out.Write(Numbered("bad-truncated-", length), Bytes(source.begin(), source.begin() + length));
    // The last byte missing.
    out.Write(Numbered("bad-truncated-", source.size() - 1), Bytes(source.begin(), source.end() - 1));
}

void MakeRandomFiles(const Bytes& source, CaseWriter& out) {
    std::mt19937 random(kSeed);
    auto below = [&random](size_t n) { return static_cast<size_t>(random() % n); };
    // Noise of any length up to twice the real file.
    for (int n = 0; n < kRandomFiles; ++n) {
        Bytes noise(below(2 * source.size()) + 1);
        for (uint8_t& b : noise)
            b = static_cast<uint8_t>(random());
        out.Write(Numbered("bad-random-", n), noise);
    }
    // The real file with a few bytes changed anywhere, sometimes cut or extended too: these
    // reach the decoder when the headers survive.
    for (int n = 0; n < kMutatedFiles; ++n) {
        Bytes mutated = source;
        const size_t changes = 1 + below(8);
        for (size_t i = 0; i < changes; ++i) {
            // Half of the changes hit the headers, where they matter most.
            const size_t span = (i % 2 == 0) ? imagelist_stream::kPrefixSize : mutated.size();
            mutated[below(span)] = static_cast<uint8_t>(random());
        }
        if (n % 5 == 0)
            mutated.resize(below(mutated.size()) + 1);
        else if (n % 5 == 1)
            mutated.resize(mutated.size() + below(4096), static_cast<uint8_t>(random()));
        out.Write(Numbered("any-mutated-", n), mutated);
    }
}

void MakePatchedHeaders(const Bytes& source, CaseWriter& out) {
    using namespace imagelist_stream;
    const auto layout = CheckStream(source.data(), source.size());
    if (!layout) {
        std::printf("the source is not a valid data file\n");
        out.Write("bad-unusable-source", Bytes());
        return;
    }
    const auto writePatched = [&](const std::string& field, size_t offset, bool wide, uint32_t value) {
        Bytes patched = source;
        if (wide)
            Put32(patched, offset, value);
        else
            Put16(patched, offset, static_cast<uint16_t>(value));
        out.Write("any-patched-" + field + "-" + std::to_string(value), patched);
    };
    struct ListField {
        const char* name;
        size_t offset;
    };
    // The list header: every field the reader trusts, with values around and far from the truth.
    const ListField listFields[] = {{"magic", 0}, {"version", 2}, {"count", 4},  {"capacity", 6}, {"grow", 8},
                                    {"cx", 10},   {"cy", 12},     {"flags", 18}, {"ovl0", 20},    {"ovl3", 26}};
    const uint16_t values16[] = {0,  1,  2,  3,   4,   5,   7,    8,      15,     16,    17,
                                 31, 32, 33, 255, 256, 257, 1000, 0x7FFF, 0x8000, 0xFFFF};
    for (const ListField& field : listFields) {
        for (uint16_t value : values16)
            writePatched(field.name, field.offset, false, value);
    }
    // The two bitmap headers: sizes, shapes and offsets, at the same places in both; the mask's
    // file size, planes and image size are left as they are.
    struct BitmapField {
        const char* name;
        size_t offset;  // from the start of the bitmap's file header
        bool wide;
        bool inMask;
    };
    const BitmapField bitmapFields[] = {
        {"type", 0, false, true},       {"filesize", 2, true, false},  {"offbits", 10, true, true},
        {"infosize", 14, true, true},   {"width", 18, true, true},     {"height", 22, true, true},
        {"planes", 26, false, false},   {"bitcount", 28, false, true}, {"compression", 30, true, true},
        {"sizeimage", 34, true, false}, {"clrused", 46, true, true}};
    const uint32_t values32[] = {0, 1, 4, 8, 16, 24, 32, 64, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu};
    const std::pair<std::string, size_t> bitmaps[] = {{"color", kListHeaderSize},
                                                      {"mask", static_cast<size_t>(layout->maskHeaderOffset)}};
    for (const auto& [bitmap, start] : bitmaps) {
        for (const BitmapField& field : bitmapFields) {
            if (bitmap == "mask" && !field.inMask)
                continue;
            for (uint32_t value : values32)
                writePatched(bitmap + "-" + field.name, start + field.offset, field.wide, value);
        }
    }
    // Fewer images than the list holds: a file that is still whole.
    Bytes fewer = source;
    Put16(fewer, 4, 1);
    out.Write("good-patched-count-1", fewer);
}

void MakeLargeFiles(const Bytes& source, CaseWriter& out) {
    out.Write("bad-50MB-noise", Bytes(kBigFileBytes, 0x5A));
    Bytes padded = source;
    padded.resize(source.size() + kBigFileBytes, 0xA5);
    out.Write("good-50MB-after-the-stream", padded);
    out.Write("good-source", source);
}

int Make(const std::string& sourcePath, const std::string& dir) {
    const Bytes source = ReadBytes(sourcePath);
    if (source.size() < imagelist_stream::kPrefixSize) {
        std::printf("no usable source file %s\n", sourcePath.c_str());
        return 1;
    }
    CreateDirectoryA(dir.c_str(), nullptr);
    CaseWriter out(dir);
    MakeTruncations(source, out);
    MakeRandomFiles(source, out);
    MakePatchedHeaders(source, out);
    MakeLargeFiles(source, out);
    std::printf("made %d cases\n", out.Count());
    return out.Ok() ? 0 : 1;
}

// ---- loading the cases ----------------------------------------------------------------------

struct Outcome {
    std::string failure;  // empty when the case passed
    int step = 0;
    int images = 0;
};

std::string Expectation(const std::string& name) {
    return name.substr(0, name.find('-'));
}

constexpr size_t kCountBytes = 6;  // the list header up to its image count

Bytes ReadPrefix(const std::string& path, size_t count) {
    std::ifstream in(path, std::ios::binary);
    Bytes bytes(count);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

int HeaderCount(const Bytes& bytes) {
    return bytes.size() >= 6 ? (bytes[4] | (bytes[5] << 8)) : -1;
}

// One start and quit of the program's data-file code on the file at path.
Outcome LoadAndSave(const std::string& name,
                    const std::string& path,
                    const std::vector<std::string>& commands,
                    int iconSize,
                    bool save) {
    Outcome outcome;
    const Bytes before = ReadPrefix(path, kCountBytes);
    ItemList items;
    for (size_t i = 0; i < commands.size(); ++i)
        items.SetItem(static_cast<int>(i), "item " + std::to_string(i), commands[i]);

    // The start: read, report, pair, then every button asks for its icon from the store.
    StoredImages images = ReadDataFile(path);
    outcome.step = images.failedStep;
    outcome.images = images.list ? ImageList_GetImageCount(images.list.get()) : 0;
    const std::string expectation = Expectation(name);
    if (images.failedStep != kDataFileReadOk) {
        const std::string message = DataFileReadFailureMessage("user", images.failedStep);
        if (message.find(kReadFailure + std::to_string(images.failedStep)) == std::string::npos)
            return outcome.failure = "the message lacks its step: " + message, outcome;
        if (images.list)
            return outcome.failure = "a refused file still gave images", outcome;
    }
    if (expectation == "bad" && images.failedStep != kDataFileReadList)
        return outcome.failure = "not refused at the read step", outcome;
    if (expectation == "good" && (images.failedStep != kDataFileReadOk || outcome.images != HeaderCount(before)))
        return outcome.failure = "not read with its header's image count", outcome;
    if (images.list && outcome.images != HeaderCount(before))
        return outcome.failure = "image count differs from the header", outcome;

    IconStore store;
    PairImagesWithItems(std::move(images), items, store, iconSize);
    for (size_t i = 0; i < commands.size(); ++i) {
        const CLaunchItem* item = items.FindItem(static_cast<int>(i));
        if (!item || item->strCommand != commands[i])
            return outcome.failure = "item " + std::to_string(i) + " lost", outcome;
        if (!LookUpIcon(store, commands[i], iconSize, true))
            return outcome.failure = "item " + std::to_string(i) + " has no icon", outcome;
    }

    // The quit: the icons are collected afresh and replace the file whole. What is saved does
    // not depend on what was read, so a sample of the cases is enough to show that a damaged
    // file gets replaced by a whole one.
    if (!save)
        return outcome;
    UniqueImageList collected = CollectItemImages(items, store, iconSize);
    if (!collected || !WriteDataFile(path, collected.get()))
        return outcome.failure = "the save failed", outcome;
    if (Exists(path + ".tmp"))
        return outcome.failure = "a temporary file is left", outcome;
    StoredImages reread = ReadDataFile(path);
    if (reread.failedStep != kDataFileReadOk || reread.Count() != static_cast<int>(commands.size()))
        return outcome.failure = "the saved file does not read back whole", outcome;
    return outcome;
}

int Load(const std::string& dir, const std::vector<std::string>& commands) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*.dat").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        std::printf("no cases in %s\n", dir.c_str());
        return 1;
    }
    do {
        names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());

    const std::string work = dir + "\\work";
    CreateDirectoryA(work.c_str(), nullptr);
    const std::string path = work + "\\Kestrovar.dat";
    constexpr int kIconSize = 16;
    int failed = 0;
    int sampled = 0;
    for (const std::string& file : names) {
        const std::string name = file.substr(0, file.size() - 4);
        if (!CopyFileA((dir + "\\" + file).c_str(), path.c_str(), FALSE)) {
            std::printf("FAIL %s: cannot copy\n", name.c_str());
            ++failed;
            continue;
        }
        // Printed first, so that a crash names its case.
        std::printf("%s ", name.c_str());
        std::fflush(stdout);
        const bool save = Expectation(name) == "good" || ++sampled % kSaveEvery == 0;
        const Outcome outcome = LoadAndSave(name, path, commands, kIconSize, save);
        if (outcome.failure.empty()) {
            std::printf("ok step=%d images=%d\n", outcome.step, outcome.images);
        } else {
            std::printf("FAIL: %s (step=%d images=%d)\n", outcome.failure.c_str(), outcome.step, outcome.images);
            ++failed;
        }
        DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(work.c_str());
    std::printf("cases %zu failed %d\n", names.size(), failed);
    return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    InitCommonControls();
    CoInitialize(nullptr);
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "make" && argc == 4)
        return Make(argv[2], argv[3]);
    if (command == "check" && argc == 3) {
        const StoredImages images = ReadDataFile(argv[2]);
        std::printf("step=%d images=%d\n", images.failedStep,
                    images.list ? ImageList_GetImageCount(images.list.get()) : 0);
        return 0;
    }
    if (command == "load" && argc >= 4)
        return Load(argv[2], std::vector<std::string>(argv + 3, argv + argc));
    std::fprintf(stderr, "usage: kvdatafiles make SOURCE DIR | load DIR COMMAND... | check FILE\n");
    return 2;
}
