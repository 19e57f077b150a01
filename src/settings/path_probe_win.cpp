#include "settings/path_probe.h"

#include "framework/handles.h"
#include "text/unicode.h"

namespace {

// Paths that the attribute query answers exactly as a file search would: no ending that names a
// folder's contents or a drive's current folder (which a search does not find). The attribute
// query is a single file-system call; a search opens the folder.
bool AttributesAnswerLikeASearch(const std::string& path) {
    const char last = path.back();
    return last != '\\' && last != '/' && last != ':' && last != '.' && last != ' ';
}

}  // namespace

unsigned long GetPathAttributes(const std::string& path) {
    // No file name holds '*' or '?', and a search would take them for wildcards and find
    // other files.
    if (path.empty() || path.find_first_of("*?") != std::string::npos)
        return 0;
    const std::wstring widePath = Wide(path);
    if (AttributesAnswerLikeASearch(path)) {
        DWORD attributes = GetFileAttributesW(widePath.c_str());
        return attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes;
    }
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(widePath.c_str(), &found));
    if (!search)
        return 0;
    return found.dwFileAttributes;
}

const PathProbe& FileSystemProbe() {
    static const PathProbe probe = [](const std::string& path) { return GetPathAttributes(path); };
    return probe;
}

bool IsVolumeUnreachable(const std::string& command) {
    const std::string root = VolumeRootOf(command);
    return !root.empty() && GetFileAttributesW(Wide(root).c_str()) == INVALID_FILE_ATTRIBUTES;
}
