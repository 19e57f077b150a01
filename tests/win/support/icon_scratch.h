// Helpers of the icon store and data file tests: a scratch folder, whole-file bytes, image
// lists of real shell icons, and the pixels an icon draws.
#pragma once

#include <commctrl.h>
#include <shellapi.h>
#include <windows.h>

#include "framework/dib_canvas.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kvtest {

using Bytes = std::vector<uint8_t>;

// Programs that exist in every prefix and have different icons.
inline constexpr char kNotepad[] = "C:\\windows\\notepad.exe";
inline constexpr char kRegedit[] = "C:\\windows\\regedit.exe";
inline constexpr char kMissingProgram[] = "C:\\kv-no-such-folder\\gone.exe";

inline void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

// A fresh folder under the temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder() {
        static int serial = 0;
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof(temp), temp);
        path_ =
            std::string(temp) + "kv-items-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
        RemoveTree(path_);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

inline bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The shell's icon for path at the given size, owned by the caller.
inline HICON ShellIconFor(const char* path, int size) {
    SHFILEINFOA info = {};
    const UINT flags = SHGFI_ICON | (size == 32 ? SHGFI_LARGEICON : SHGFI_SMALLICON);
    return SHGetFileInfoA(path, 0, &info, sizeof(info), flags) ? info.hIcon : nullptr;
}

// The colours an icon draws on black and on white at size x size, side by side: equal vectors
// mean icons that look the same.
inline std::vector<uint32_t> PixelsOf(HICON icon, int size) {
    DibCanvas canvas;
    if (!canvas.Create(size * 2, size))
        return {};
    RECT white = {size, 0, size * 2, size};
    FillRect(canvas.dc(), &white, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(canvas.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    DrawIconEx(canvas.dc(), size, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    const uint32_t* first = canvas.pixels();
    std::vector<uint32_t> pixels(first, first + size * size * 2);
    for (uint32_t& p : pixels)
        p &= 0x00FFFFFF;
    return pixels;
}

}  // namespace kvtest
