#include "settings/startup_entry.h"

#include <windows.h>

#include <vector>

#include "framework/application.h"
#include "framework/handles.h"
#include "settings/path_probe.h"
#include "text/unicode.h"

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Kestrovar";

// The Run value's command, environment variables expanded; empty when there is none.
std::wstring ReadRunCommand() {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return std::wstring();
    UniqueKey key(opened);
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key.get(), kRunValue, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::wstring();
    std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key.get(), kRunValue, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &bytes) !=
        ERROR_SUCCESS)
        return std::wstring();
    std::wstring command(data.data());
    if (type == REG_EXPAND_SZ) {
        std::vector<wchar_t> expanded(ExpandEnvironmentStringsW(command.c_str(), nullptr, 0) + 1, L'\0');
        ExpandEnvironmentStringsW(command.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        command = expanded.data();
    }
    return command;
}

// The volume and file index of the file a path names; false when it cannot be opened.
bool FileIdentity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
    UniqueFile file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    return file && GetFileInformationByHandle(file.get(), &info);
}

// Whether two paths name one file: by the file's identity, so that any spelling of its path
// counts; by the full paths compared without case when either cannot be opened.
bool NamesSameFile(const std::wstring& a, const std::wstring& b) {
    BY_HANDLE_FILE_INFORMATION first = {}, second = {};
    if (FileIdentity(a, first) && FileIdentity(b, second)) {
        return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
               first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
    }
    wchar_t fullA[MAX_PATH] = {}, fullB[MAX_PATH] = {};
    const DWORD lengthA = GetFullPathNameW(a.c_str(), MAX_PATH, fullA, nullptr);
    const DWORD lengthB = GetFullPathNameW(b.c_str(), MAX_PATH, fullB, nullptr);
    return lengthA > 0 && lengthA < MAX_PATH && lengthB > 0 && lengthB < MAX_PATH &&
           CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, fullA, -1, fullB, -1) == CSTR_EQUAL;
}

}  // namespace

bool IsStartedWithWindows() {
    const std::string command = Utf8(ReadRunCommand());
    const std::string self = ModulePath(nullptr);
    if (command.empty() || self.empty())
        return false;
    return NamesSameFile(Wide(RunCommandProgram(command, FileSystemProbe())), Wide(self));
}

bool SetStartedWithWindows(bool start) {
    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) !=
        ERROR_SUCCESS)
        return false;
    UniqueKey key(opened);
    if (!start) {
        const LONG result = RegDeleteValueW(key.get(), kRunValue);
        return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
    }
    const std::string self = ModulePath(nullptr);
    if (self.empty())
        return false;
    const std::wstring command = Wide(RunCommandFor(self));
    return RegSetValueExW(key.get(), kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                          static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}
