#include "settings/path_probe.h"

#include "framework/handles.h"

unsigned long GetPathAttributes(const std::string& path) {
    if (path.empty())
        return 0;
    WIN32_FIND_DATAA found;
    UniqueFind search(FindFirstFileA(path.c_str(), &found));
    if (!search)
        return 0;
    return found.dwFileAttributes;
}

const PathProbe& FileSystemProbe() {
    static const PathProbe probe = [](const std::string& path) { return GetPathAttributes(path); };
    return probe;
}
