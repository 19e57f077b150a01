#include "framework/system_library.h"

#include <vector>

namespace {

// Newer than the headers this program targets.
constexpr DWORD kSearchSystem32 = 0x00000800;     // LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr DWORD kSearchDefaultDirs = 0x00001000;  // LOAD_LIBRARY_SEARCH_DEFAULT_DIRS
constexpr DWORD kLongestPath = 32768;

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);

template <typename Function>
Function Kernel32Function(const char* name) {
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    return kernel32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel32, name))) : nullptr;
}

// Present from Windows 8, and on Windows Vista and 7 with update KB2533623. Where it is, the
// loader also knows the LOAD_LIBRARY_SEARCH_* flags.
SetDefaultDllDirectoriesFn SetDefaultDllDirectoriesOfSystem() {
    return Kernel32Function<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
}

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

// The program's folder with a closing backslash; empty when its path cannot be read whole.
std::wstring ProgramFolder() {
    std::vector<wchar_t> path(MAX_PATH);
    while (path.size() <= kLongestPath) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            const std::wstring file(path.data(), length);
            return file.substr(0, file.rfind(L'\\') + 1);
        }
        path.resize(path.size() * 2);
    }
    return std::wstring();
}

}  // namespace

void RestrictLibrarySearch() {
    // From Windows XP SP1; an empty folder takes the current folder out of the search.
    if (SetDllDirectoryFn setDllDirectory = Kernel32Function<SetDllDirectoryFn>("SetDllDirectoryW"))
        setDllDirectory(L"");
    if (SetDefaultDllDirectoriesFn setDefault = SetDefaultDllDirectoriesOfSystem())
        setDefault(kSearchDefaultDirs);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    if (SetDefaultDllDirectoriesOfSystem())
        return LoadLibraryExW(name, nullptr, kSearchSystem32);
    const std::wstring folder = SystemFolder();
    return folder.empty() ? nullptr : LoadLibraryW((folder + L"\\" + name).c_str());
}

std::wstring PathBesideProgram(const wchar_t* name) {
    const std::wstring folder = ProgramFolder();
    return folder.empty() ? std::wstring() : folder + name;
}

HMODULE LoadLibraryBesideProgram(const wchar_t* name) {
    const std::wstring path = PathBesideProgram(name);
    return path.empty() ? nullptr : LoadLibraryW(path.c_str());
}
