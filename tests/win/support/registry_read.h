// Reads a registry key's string values directly through the system's wide functions, beside
// the program's own profile code, for tests that check what the program stored.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "text/unicode.h"

namespace kvtest {

// Value names and texts under HKCU\path; a value that is not a string reads "<type N>".
inline std::map<std::string, std::string> ReadRegistrySection(const std::string& path) {
    std::map<std::string, std::string> values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    std::vector<wchar_t> name(16384);
    std::vector<wchar_t> data(8192);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataBytes = static_cast<DWORD>(data.size() * sizeof(wchar_t)) - sizeof(wchar_t);
        DWORD type = 0;
        data.assign(data.size(), L'\0');
        if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                          &dataBytes) != ERROR_SUCCESS)
            break;
        values[Utf8(std::wstring_view(name.data(), nameLength))] =
            type == REG_SZ ? Utf8(data.data()) : "<type " + std::to_string(type) + ">";
    }
    RegCloseKey(key);
    return values;
}

}  // namespace kvtest
