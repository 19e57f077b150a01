// The icon store: icons made by the shell for program paths, appended as they are made and
// emptied as a whole. Icons handed out stay owned by the store.
#pragma once

#include "framework/handles.h"

#include <string>
#include <vector>

class IconStore {
public:
    struct Entry {
        std::string strKey;  // the program path whose shell icon this is
        UniqueIcon icon;
    };

    // The icon of the first entry whose key equals key byte for byte, or nullptr.
    HICON Find(const std::string& key) const;
    HICON Append(const std::string& key, HICON icon);
    void Clear() { entries_.clear(); }
    size_t Size() const { return entries_.size(); }

private:
    std::vector<Entry> entries_;
};
