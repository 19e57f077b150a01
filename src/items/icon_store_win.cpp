#include "items/icon_store.h"

#include "launcher/body_wnd.h"

HICON IconStore::Find(const std::string& key) const {
    for (const Entry& entry : entries_) {
        if (entry.strKey == key)
            return entry.icon.get();
    }
    return nullptr;
}

HICON IconStore::Append(const std::string& key, HICON icon) {
    entries_.push_back(Entry{key, UniqueIcon(icon)});
    return icon;
}

// Filled in with the data file: the shell lookup, the load from and the save to Kestrovar.dat.
HICON CKestrovarBodyWnd::GetIcon(const std::string& command) {
    return nullptr;
}

void CKestrovarBodyWnd::LoadIconStore() {}

void CKestrovarBodyWnd::SaveIconStore() {}
