#include "settings/path_probe.h"

#include "framework/handles.h"

namespace {

// Paths that GetFileAttributesA answers exactly as a file search would: no wildcard, and no
// ending that names a folder's contents or a drive's current folder (which a search does not
// find). The attribute query is a single file-system call; a search opens the folder.
bool AttributesAnswerLikeASearch(const std::string& path) {
    if (path.find_first_of("*?") != std::string::npos)
        return false;
    const char last = path.back();
    return last != '\\' && last != '/' && last != ':' && last != '.' && last != ' ';
}

}  // namespace

unsigned long GetPathAttributes(const std::string& path) {
    if (path.empty())
        return 0;
    if (AttributesAnswerLikeASearch(path)) {
        DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes;
    }
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

bool IsVolumeUnreachable(const std::string& command) {
    const std::string root = VolumeRootOf(command);
    return !root.empty() && GetFileAttributesA(root.c_str()) == INVALID_FILE_ATTRIBUTES;
}
