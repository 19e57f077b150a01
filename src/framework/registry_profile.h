// The profile in the registry: HKCU\Software\<company>\<application>\<section>, one value per key.
#pragma once

#include "framework/handles.h"
#include "framework/profile_store.h"

#include <map>

class RegistryProfile : public ProfileStore {
public:
    RegistryProfile(std::string company, std::string application);

    int GetInt(const std::string& section, const std::string& key, int defaultValue) override;
    std::string GetString(const std::string& section, const std::string& key, const std::string& defaultValue) override;
    void WriteInt(const std::string& section, const std::string& key, int value) override;
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    void DeleteValue(const std::string& section, const std::string& key) override;
    std::vector<std::string> ValueNames(const std::string& section) override;
    // One enumeration of the section's values. The result is kept: a later read answers from
    // it when the section's key shows no change since (its last write time and value sizes),
    // which makes the save at exit cheap however many items there are.
    std::map<std::string, std::string> ReadSection(const std::string& section) override;

    std::string KeyPath(const std::string& section) const;
    // The key that holds the sections.
    std::string RootPath() const;

    // Strings longer than this many UTF-16 units are treated as absent rather than read into memory.
    static constexpr DWORD kMaxStringUnits = 1 << 20;

private:
    // What the key says about its contents; it changes with every change of a value.
    struct SectionStamp {
        FILETIME lastWrite = {};
        DWORD values = 0;
        DWORD longestName = 0;
        DWORD longestData = 0;
        bool operator==(const SectionStamp& other) const;
    };
    struct SectionCopy {
        SectionStamp stamp;
        std::map<std::string, std::string> values;
    };

    HKEY SectionKey(const std::string& section, bool create);
    bool StampOf(const std::string& section, SectionStamp& stamp);
    LONG EnumerateSection(HKEY key, std::map<std::string, std::string>& values) const;
    // Keeps the kept copy of the section true after our own change of one value (nullptr text:
    // deleted), or drops it when it cannot.
    void NoteOwnChange(const std::string& section, const std::string& key, bool succeeded, const std::string* text);
    // Runs call(key) on the section's key. A key deleted by someone else since it was opened
    // (the profile removed while the program runs) is dropped and opened afresh once, so that
    // the values written at exit are not lost in a deleted key.
    template <typename Call>
    LONG OnSection(const std::string& section, bool create, Call call);

    std::string company_;
    std::string application_;
    std::map<std::string, UniqueKey> keys_;
    std::map<std::string, SectionCopy> copies_;
};
