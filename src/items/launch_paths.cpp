#include "items/launch_paths.h"

#include <algorithm>

#include "items/menu_rules.h"

namespace {

// Position just after the last '\' (or '/' too when withSlash), or 0 when there is none.
size_t AfterLastSeparator(const std::string& path, bool withSlash) {
    size_t after = 0;
    for (size_t pos = 0; pos < path.size(); ++pos) {
        if (path[pos] == '\\' || (withSlash && path[pos] == '/'))
            after = pos + 1;
    }
    return after;
}

}  // namespace

std::string LaunchVerb(bool controlHeld, bool shiftHeld) {
    return controlHeld && shiftHeld ? kRunAsVerb : std::string();
}

std::string ProgramFolder(const std::string& path) {
    const size_t driveLength = path.size() >= 2 && path[1] == ':' ? 2 : 0;
    const size_t dirEnd = AfterLastSeparator(path, true);
    return path.substr(0, std::max(driveLength, dirEnd));
}

std::string WindowsDirectoryRoot(const std::string& windowsDirectory) {
    return windowsDirectory.substr(0, AfterLastSeparator(windowsDirectory, false));
}

std::string FileDialogFilter(const std::string& barSeparated) {
    std::string filter = barSeparated;
    for (size_t pos = 0; pos < filter.size(); ++pos) {
        if (filter[pos] == '|')
            filter[pos] = '\0';
    }
    // The dialog reads pairs until an empty text: make sure the list ends in two NULs.
    while (filter.size() < 2 || filter[filter.size() - 1] != '\0' || filter[filter.size() - 2] != '\0')
        filter.push_back('\0');
    return filter;
}

std::string RegisteredTooltip(const std::string& typeName,
                              const std::string& displayName,
                              const std::string& path,
                              const std::function<std::string(const std::string&)>& describe) {
    std::string tip = typeName == kApplicationTypeName ? describe(path) : displayName;
    if (tip.empty())
        tip = path;
    return StorableTooltip(tip, path);
}
