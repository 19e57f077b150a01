// The application profile as the settings record sees it: named sections holding integer
// and string values. The program uses the registry (framework/registry_profile.h) or a file
// beside it (framework/ini_profile.h); the unit tests use an in-memory store.
#pragma once

#include <map>
#include <string>
#include <vector>

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    virtual int GetInt(const std::string& section, const std::string& key, int defaultValue) = 0;
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) = 0;
    virtual void WriteInt(const std::string& section, const std::string& key, int value) = 0;
    virtual void WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;
    virtual void DeleteValue(const std::string& section, const std::string& key) = 0;
    // Names of the values present in a section, in no particular order.
    virtual std::vector<std::string> ValueNames(const std::string& section) = 0;
    // Every value of a section, name → text, read in one pass. A value GetString would not give
    // (not a string, or too long) is listed with an empty text, so that its name is still known.
    virtual std::map<std::string, std::string> ReadSection(const std::string& section) = 0;

    // The writes between these two calls form one save pass: a store that keeps the whole
    // profile in one file writes it once, at the end. Passes may nest; the outermost ends it.
    virtual void BeginWrites() {}
    virtual void EndWrites() {}
};

// One save pass for the lifetime of the object.
class ProfileWriteBatch {
public:
    explicit ProfileWriteBatch(ProfileStore& profile) : profile_(profile) { profile_.BeginWrites(); }
    ~ProfileWriteBatch() { profile_.EndWrites(); }
    ProfileWriteBatch(const ProfileWriteBatch&) = delete;
    ProfileWriteBatch& operator=(const ProfileWriteBatch&) = delete;

private:
    ProfileStore& profile_;
};
