#include "items/data_file.h"

#include "framework/application.h"
#include "framework/dib_canvas.h"
#include "items/imagelist_stream.h"
#include "settings/path_probe.h"
#include "text/unicode.h"

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

constexpr char kDataFolderName[] = "\\Kestrovar";
constexpr char kDataFileName[] = "\\Kestrovar.dat";
constexpr char kTemporarySuffix[] = ".tmp";
constexpr char kReadFailureText[] = ".dataの読込みに失敗しました。 Code = ";
constexpr DWORD kIoChunk = 1 << 20;

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
using StreamPtr = std::unique_ptr<IStream, ComRelease>;

using Bytes = std::vector<uint8_t>;

// An empty growable stream in memory; the platform's image-list reader and writer work on it,
// and the file itself is read and written with plain file calls that report every failure.
StreamPtr NewMemoryStream() {
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
        return nullptr;
    return StreamPtr(stream);
}

bool ReadExactly(HANDLE file, uint8_t* out, uint64_t count) {
    while (count > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<uint64_t>(count, kIoChunk));
        DWORD got = 0;
        if (!ReadFile(file, out, chunk, &got, nullptr) || got == 0)
            return false;
        out += got;
        count -= got;
    }
    return true;
}

bool WriteExactly(HANDLE file, const uint8_t* data, uint64_t count) {
    while (count > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<uint64_t>(count, kIoChunk));
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written != chunk)
            return false;
        data += written;
        count -= written;
    }
    return true;
}

// Reads exactly the bytes the stream claims, after checking its headers; never more than the
// stream could legitimately need, whatever the size of the file.
bool ReadCheckedStream(HANDLE file, uint64_t fileSize, Bytes& bytes, imagelist_stream::Layout& layout) {
    using namespace imagelist_stream;
    Bytes prefix(kPrefixSize);
    if (fileSize < kPrefixSize || !ReadExactly(file, prefix.data(), prefix.size()))
        return false;
    std::optional<Layout> claimed = ParseLayout(prefix.data(), prefix.size());
    if (!claimed || claimed->streamSize > fileSize)
        return false;
    bytes = std::move(prefix);
    bytes.resize(static_cast<size_t>(claimed->streamSize));
    if (!ReadExactly(file, bytes.data() + kPrefixSize, bytes.size() - kPrefixSize))
        return false;
    std::optional<Layout> checked = CheckStream(bytes.data(), bytes.size());
    if (!checked)
        return false;
    layout = *checked;
    return true;
}

UniqueImageList DecodeImageList(IStream* stream, const Bytes& bytes) {
    ULONG written = 0;
    if (FAILED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written)) || written != bytes.size())
        return UniqueImageList();
    LARGE_INTEGER start = {};
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)))
        return UniqueImageList();
    return UniqueImageList(ImageList_Read(stream));
}

bool EncodeImageList(HIMAGELIST images, Bytes& bytes) {
    StreamPtr stream = NewMemoryStream();
    if (!stream || !ImageList_Write(images, stream.get()))
        return false;
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER end = {};
    HGLOBAL memory = nullptr;
    if (FAILED(stream->Seek(zero, STREAM_SEEK_CUR, &end)) || FAILED(GetHGlobalFromStream(stream.get(), &memory)))
        return false;
    const void* data = GlobalLock(memory);
    if (!data)
        return false;
    const auto* begin = static_cast<const uint8_t*>(data);
    bytes.assign(begin, begin + end.QuadPart);
    GlobalUnlock(memory);
    return true;
}

bool WriteWholeFile(const std::string& path, const Bytes& bytes) {
    UniqueFile file(
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    if (!WriteExactly(file.get(), bytes.data(), bytes.size()) || !FlushFileBuffers(file.get()))
        return false;
    return CloseHandle(file.release()) != FALSE;
}

std::string AppDataFolder() {
    LPITEMIDLIST ids = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &ids)) || !ids)
        return std::string();
    wchar_t wideFolder[MAX_PATH] = L"";
    std::string folder;
    // A folder name that UTF-8 cannot carry unchanged gives no data file rather than a wrong one.
    if (!SHGetPathFromIDListW(ids, wideFolder) || !ExactUtf8(wideFolder, folder))
        folder.clear();
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
        allocator->Free(ids);
        allocator->Release();
    }
    return folder;
}

}  // namespace

StoredImages ReadDataFile(const std::string& path) {
    StoredImages result;
    UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        result.failedStep = kDataFileOpen;
        return result;
    }
    LARGE_INTEGER size = {};
    StreamPtr stream = NewMemoryStream();
    if (!GetFileSizeEx(file.get(), &size) || !stream) {
        result.failedStep = kDataFilePrepareStream;
        return result;
    }
    Bytes bytes;
    imagelist_stream::Layout layout;
    if (!ReadCheckedStream(file.get(), static_cast<uint64_t>(size.QuadPart), bytes, layout)) {
        result.failedStep = kDataFileReadList;
        return result;
    }
    // A stream that passed the check but that the reader still refuses leaves no list and is
    // not reported: the file is then as good as missing.
    result.list = DecodeImageList(stream.get(), bytes);
    if (result.list) {
        result.blank = imagelist_stream::BlankImages(bytes.data(), layout);
        result.blank.resize(static_cast<size_t>(std::max(0, ImageList_GetImageCount(result.list.get()))), false);
    }
    stream.reset();
    if (!CloseHandle(file.release()))
        result.failedStep = kDataFileCloseFile;
    return result;
}

bool WriteDataFile(const std::string& path, HIMAGELIST images) {
    if (path.empty() || !images)
        return false;
    Bytes bytes;
    // Never replace a file by one that the next start would refuse.
    if (!EncodeImageList(images, bytes) || !imagelist_stream::CheckStream(bytes.data(), bytes.size()))
        return false;
    const std::string temporary = path + kTemporarySuffix;
    if (Utf16Length(temporary) >= MAX_PATH)
        return false;
    const std::wstring wideTemporary = Wide(temporary);
    if (!WriteWholeFile(temporary, bytes) ||
        !MoveFileExW(wideTemporary.c_str(), Wide(path).c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(wideTemporary.c_str());
        return false;
    }
    return true;
}

std::string DataFilePathIn(const std::string& appDataFolder) {
    const std::string folder = appDataFolder + kDataFolderName;
    if (Utf16Length(folder) + Utf16Length(kDataFileName) >= MAX_PATH)
        return std::string();
    if (GetPathAttributes(folder) == 0)
        CreateDirectoryW(Wide(folder).c_str(), nullptr);
    return folder + kDataFileName;
}

std::string DataFilePath() {
    // A program that keeps its profile beside it keeps its icons there too.
    if (const Application* app = Application::Current(); app && !app->PortableFolder().empty()) {
        const std::string path = app->PortableFolder() + kDataFileName;
        return Utf16Length(path) < MAX_PATH ? path : std::string();
    }
    return DataFilePathIn(AppDataFolder());
}

std::string DataFileReadFailureMessage(const std::string& userName, int step) {
    return userName + kReadFailureText + std::to_string(step);
}
