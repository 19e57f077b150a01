// Shared by the launch-recording test programs: writes "<exe path without .exe>.launched" with
// two lines in UTF-8, the current directory and the command line after the program name. The
// texts are read in UTF-16, so that any name the system holds is recorded as it is.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

inline const wchar_t* ArgumentsOf(const wchar_t* commandLine) {
    const wchar_t* p = commandLine;
    if (*p == L'"') {
        for (++p; *p && *p != L'"'; ++p) {
        }
        if (*p)
            ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t')
            ++p;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    return p;
}

inline std::string RecordUtf8(const wchar_t* wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(n > 0 ? static_cast<size_t>(n) : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), n, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);  // the terminator
    return utf8;
}

inline int RecordLaunch() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring record = exe;
    record = record.substr(0, record.rfind(L'.')) + L".launched";
    wchar_t directory[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, directory);
    FILE* file = _wfopen(record.c_str(), L"wb");
    if (!file)
        return 1;
    fprintf(file, "%s\n%s\n", RecordUtf8(directory).c_str(), RecordUtf8(ArgumentsOf(GetCommandLineW())).c_str());
    fclose(file);
    return 0;
}
