// The profile in the registry: HKCU\Software\<company>\<application>\<section>, one value per key.
#pragma once

#include "framework/handles.h"
#include "settings/profile_store.h"

#include <map>

class RegistryProfile : public ProfileStore {
public:
    RegistryProfile(std::string company, std::string application);

    int GetInt(const std::string& section, const std::string& key, int defaultValue) override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) override;
    void WriteInt(const std::string& section, const std::string& key, int value) override;
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    void DeleteValue(const std::string& section, const std::string& key) override;
    std::vector<std::string> ValueNames(const std::string& section) override;

    std::string KeyPath(const std::string& section) const;

    // Strings longer than this are treated as absent rather than read into memory.
    static constexpr DWORD kMaxStringBytes = 1 << 20;

private:
    HKEY SectionKey(const std::string& section, bool create);
    // Runs call(key) on the section's key. A key deleted by someone else since it was opened
    // (the profile removed while the program runs) is dropped and opened afresh once, so that
    // the values written at exit are not lost in a deleted key.
    template <typename Call>
    LONG OnSection(const std::string& section, bool create, Call call);

    std::string company_;
    std::string application_;
    std::map<std::string, UniqueKey> keys_;
};
