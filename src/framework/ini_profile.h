// The profile in a text file (the format is in text/profile_ini.h), for a program carried on a
// stick or in a synced folder. The file is replaced whole at the end of each save pass, so a
// process killed at any moment leaves the old file or the new one. Another computer may change
// the file meanwhile: a save then reads it again and applies on top only the values this
// program changed since it last read or wrote the file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>

#include "framework/profile_store.h"
#include "text/profile_ini.h"

class IniProfile : public ProfileStore {
public:
    explicit IniProfile(std::string path);

    // Reads the file. False when it cannot be read; the store then starts empty and never
    // writes, so that the file is kept as it is.
    bool Load();
    // Whether the store holds no value.
    bool IsEmpty() const;
    // Copies the integer and string values of every section under HKCU\<keyPath> into the
    // store and writes the file once. The registry is only read.
    void CopyFromRegistry(const std::string& keyPath);

    int GetInt(const std::string& section, const std::string& key, int defaultValue) override;
    std::string GetString(const std::string& section, const std::string& key, const std::string& defaultValue) override;
    void WriteInt(const std::string& section, const std::string& key, int value) override;
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    void DeleteValue(const std::string& section, const std::string& key) override;
    std::vector<std::string> ValueNames(const std::string& section) override;
    std::map<std::string, std::string> ReadSection(const std::string& section) override;
    void BeginWrites() override;
    void EndWrites() override;

    const std::string& Path() const { return path_; }

    // Called at the first save that cannot write the file, once for the life of the store.
    std::function<void()> onWriteFailed;

private:
    struct FileStamp {
        uint64_t size = 0;
        FILETIME lastWrite = {};
        bool operator==(const FileStamp& other) const;
    };
    // A value changed by this program since the last write: as it was, and as it is now
    // (nullopt: absent).
    struct Change {
        std::optional<ProfileValue> before;
        std::optional<ProfileValue> after;
    };
    using SectionChanges = std::map<std::string, Change, ProfileNameLess>;

    void Set(const std::string& section, const std::string& key, std::optional<ProfileValue> value);
    const ProfileValue* Find(const std::string& section, const std::string& key) const;
    // Writes the file when a pass has changed something.
    void Save();
    // Another computer may have written the file since our last read or write (its size or
    // last-write time differ): then disk_ becomes what it holds now. False when it changed but
    // cannot be read (too large, or locked).
    bool ReadAgainIfChangedElsewhere();
    void ReportWriteFailureOnce();
    bool ReadFile(ProfileSections& sections, FileStamp& stamp) const;
    bool WriteFile(const std::string& text);
    bool CurrentStamp(FileStamp& stamp) const;

    std::string path_;
    ProfileSections known_;  // what this program reads: the file as read, with its own changes
    ProfileSections disk_;   // what the file held at the last read or write
    FileStamp stamp_;        // of the file at that time
    std::map<std::string, SectionChanges, ProfileNameLess> changes_;
    int batchDepth_ = 0;
    bool readOnly_ = false;
    bool failureReported_ = false;
};
