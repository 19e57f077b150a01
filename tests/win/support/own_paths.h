// Folders a test program finds itself in, in UTF-8: where it lies, and the process's current one.
#pragma once

#include <windows.h>

#include <string>

#include "text/unicode.h"

namespace kvtest {

// The folder of the running program, without a closing backslash; the tools and the program
// under test are built beside it.
inline std::string OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string file = Utf8(path);
    return file.substr(0, file.rfind('\\'));
}

inline std::string CurrentDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, buffer);
    return Utf8(buffer);
}

}  // namespace kvtest
