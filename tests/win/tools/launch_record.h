// Shared by the launch-recording test programs: writes "<exe path without .exe>.launched" with
// two lines, the current directory and the command line after the program name.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

inline const char* ArgumentsOf(const char* commandLine) {
    const char* p = commandLine;
    if (*p == '"') {
        for (++p; *p && *p != '"'; ++p) {
        }
        if (*p)
            ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t')
            ++p;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    return p;
}

inline int RecordLaunch() {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof(exe));
    std::string record = exe;
    record = record.substr(0, record.rfind('.')) + ".launched";
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof(directory), directory);
    FILE* file = fopen(record.c_str(), "wb");
    if (!file)
        return 1;
    fprintf(file, "%s\n%s\n", directory, ArgumentsOf(GetCommandLineA()));
    fclose(file);
    return 0;
}
