// Folders a test program finds itself in, in UTF-8 (where it lies, and the process's current one),
// and the tools built beside it.
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

// Starts a tool built beside the test with ARGUMENTS and ends it the hard way after DELAY_MS, as
// the system ends a process at any moment of its work. False if it could not be started.
inline bool RunToolAndKillAfter(const std::string& tool, const std::string& arguments, DWORD delayMs) {
    std::wstring command = Wide("\"" + OwnFolder() + "\\" + tool + "\" " + arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    Sleep(delayMs);
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace kvtest
