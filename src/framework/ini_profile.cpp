#include "framework/ini_profile.h"

#include <cstring>
#include <cwchar>

#include "framework/handles.h"
#include "text/text_file.h"
#include "text/unicode.h"

namespace {

// Far beyond any profile (ten thousand items take about a megabyte). A larger file is not read,
// and so never written over.
constexpr uint64_t kMaxFileBytes = 64 << 20;
constexpr char kTemporarySuffix[] = ".tmp";
constexpr DWORD kLongestValueName = 16383;
constexpr DWORD kLongestKeyName = 255;

// A registry value as the registry store reads it: a DWORD is an integer, a string ends at its
// first NUL; other types are not profile values.
std::optional<ProfileValue> RegistryValue(DWORD type, const std::vector<BYTE>& data, DWORD bytes) {
    ProfileValue value;
    if (type == REG_DWORD && bytes == sizeof(DWORD)) {
        DWORD number = 0;
        memcpy(&number, data.data(), sizeof(number));
        value.isNumber = true;
        value.number = static_cast<int>(number);
        return value;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::nullopt;
    const auto* units = reinterpret_cast<const wchar_t*>(data.data());
    value.text = Utf8(std::wstring_view(units, wcsnlen(units, bytes / sizeof(wchar_t))));
    return value;
}

ProfileSection ReadRegistrySection(HKEY key) {
    ProfileSection section;
    std::vector<wchar_t> name(kLongestValueName + 1);
    std::vector<BYTE> data(1024);
    for (DWORD i = 0;;) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataLength = static_cast<DWORD>(data.size() - sizeof(wchar_t));
        DWORD type = 0;
        const LONG status = RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength);
        if (status == ERROR_MORE_DATA) {
            data.resize(data.size() * 2);
            continue;
        }
        if (status != ERROR_SUCCESS)
            return section;
        data[dataLength] = data[dataLength + 1] = 0;
        if (std::optional<ProfileValue> value = RegistryValue(type, data, dataLength))
            section.emplace(Utf8(std::wstring_view(name.data(), nameLength)), std::move(*value));
        ++i;
    }
}

}  // namespace

bool IniProfile::FileStamp::operator==(const FileStamp& other) const {
    return size == other.size && lastWrite.dwLowDateTime == other.lastWrite.dwLowDateTime &&
           lastWrite.dwHighDateTime == other.lastWrite.dwHighDateTime;
}

IniProfile::IniProfile(std::string path) : path_(std::move(path)) {}

bool IniProfile::Load() {
    readOnly_ = !ReadFile(disk_, stamp_);
    if (readOnly_)
        disk_.clear();
    known_ = disk_;
    return !readOnly_;
}

bool IniProfile::IsEmpty() const {
    for (const auto& entry : known_) {
        if (!entry.second.empty())
            return false;
    }
    return true;
}

void IniProfile::CopyFromRegistry(const std::string& keyPath) {
    HKEY root = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(keyPath).c_str(), 0, KEY_READ, &root) != ERROR_SUCCESS)
        return;
    UniqueKey rootKey(root);
    const ProfileWriteBatch pass(*this);
    wchar_t name[kLongestKeyName + 1];
    for (DWORD i = 0;; ++i) {
        DWORD length = kLongestKeyName + 1;
        if (RegEnumKeyExW(root, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, name, 0, KEY_READ, &key) != ERROR_SUCCESS)
            continue;
        UniqueKey sectionKey(key);
        const std::string section = Utf8(std::wstring_view(name, length));
        for (auto& [valueName, value] : ReadRegistrySection(key))
            Set(section, valueName, std::move(value));
    }
}

const ProfileValue* IniProfile::Find(const std::string& section, const std::string& key) const {
    auto s = known_.find(section);
    if (s == known_.end())
        return nullptr;
    auto v = s->second.find(key);
    return v == s->second.end() ? nullptr : &v->second;
}

int IniProfile::GetInt(const std::string& section, const std::string& key, int defaultValue) {
    const ProfileValue* value = Find(section, key);
    return value && value->isNumber ? value->number : defaultValue;
}

std::string IniProfile::GetString(const std::string& section, const std::string& key, const std::string& defaultValue) {
    const ProfileValue* value = Find(section, key);
    return value && !value->isNumber ? value->text : defaultValue;
}

void IniProfile::WriteInt(const std::string& section, const std::string& key, int value) {
    ProfileValue number;
    number.isNumber = true;
    number.number = value;
    Set(section, key, number);
}

void IniProfile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    ProfileValue text;
    text.text = value.c_str();  // a stored string ends at its first NUL, as in the registry
    Set(section, key, text);
}

void IniProfile::DeleteValue(const std::string& section, const std::string& key) {
    Set(section, key, std::nullopt);
}

std::vector<std::string> IniProfile::ValueNames(const std::string& section) {
    std::vector<std::string> names;
    auto s = known_.find(section);
    if (s != known_.end()) {
        for (const auto& entry : s->second)
            names.push_back(entry.first);
    }
    return names;
}

std::map<std::string, std::string> IniProfile::ReadSection(const std::string& section) {
    std::map<std::string, std::string> values;
    auto s = known_.find(section);
    if (s != known_.end()) {
        for (const auto& [name, value] : s->second)
            values[name] = value.isNumber ? std::string() : value.text;
    }
    return values;
}

void IniProfile::BeginWrites() {
    ++batchDepth_;
}

void IniProfile::EndWrites() {
    if (batchDepth_ > 0 && --batchDepth_ == 0)
        Save();
}

void IniProfile::Set(const std::string& section, const std::string& key, std::optional<ProfileValue> value) {
    const ProfileValue* current = Find(section, key);
    if (current ? value && *value == *current : !value)
        return;
    SectionChanges& changes = changes_[section];
    auto change = changes.find(key);
    if (change == changes.end()) {
        Change first;
        if (current)
            first.before = *current;
        change = changes.emplace(key, std::move(first)).first;
    }
    change->second.after = value;
    if (value)
        known_[section][key] = std::move(*value);
    else
        known_[section].erase(key);
    if (batchDepth_ == 0)
        Save();
}

// Applies this program's own changes, made since the last write, to what the file holds now.
// A value changed and changed back within that time (the spare index a save of the item list
// uses to swap two items, say) is no change, and leaves what another computer wrote there alone.
void IniProfile::Save() {
    std::map<std::string, SectionChanges, ProfileNameLess> changes;
    changes.swap(changes_);
    bool changed = false;
    for (const auto& [section, values] : changes) {
        for (const auto& [key, change] : values) {
            if (change.before == change.after)
                continue;
            if (!changed && !ReadAgainIfChangedElsewhere()) {
                // Kept for the next save: written now, the file would lose what it holds.
                changes_.swap(changes);
                ReportWriteFailureOnce();
                return;
            }
            changed = true;
            if (change.after)
                disk_[section][key] = *change.after;
            else if (auto s = disk_.find(section); s != disk_.end())
                s->second.erase(key);
        }
    }
    if (!changed)
        return;
    if (!readOnly_ && WriteFile(FormatProfileIni(disk_))) {
        CurrentStamp(stamp_);
        return;
    }
    // What failed stays in disk_ and goes out with the next save that can write.
    ReportWriteFailureOnce();
}

// Called last in a save: the report's message loop may run another save.
void IniProfile::ReportWriteFailureOnce() {
    if (failureReported_)
        return;
    failureReported_ = true;
    if (onWriteFailed)
        onWriteFailed();
}

bool IniProfile::ReadAgainIfChangedElsewhere() {
    FileStamp now;
    if (readOnly_ || !CurrentStamp(now) || now == stamp_)
        return true;
    ProfileSections fresh;
    FileStamp freshStamp;
    if (!ReadFile(fresh, freshStamp))
        return false;
    disk_ = std::move(fresh);
    stamp_ = freshStamp;
    return true;
}

bool IniProfile::CurrentStamp(FileStamp& stamp) const {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(Wide(path_).c_str(), GetFileExInfoStandard, &data))
        return false;
    stamp.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.lastWrite = data.ftLastWriteTime;
    return true;
}

bool IniProfile::ReadFile(ProfileSections& sections, FileStamp& stamp) const {
    UniqueFile file(CreateFileW(Wide(path_).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!file || !GetFileInformationByHandle(file.get(), &info))
        return false;
    stamp.size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    stamp.lastWrite = info.ftLastWriteTime;
    if (stamp.size > kMaxFileBytes)
        return false;
    std::string bytes(static_cast<size_t>(stamp.size), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!::ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()))
        return false;
    sections = ParseProfileIni(DecodeTextFile(bytes));
    return true;
}

// The new text goes to a file beside the old one, reaches the disk, and then takes the old
// one's place in one step.
bool IniProfile::WriteFile(const std::string& text) {
    const std::wstring temporary = Wide(path_ + kTemporarySuffix);
    UniqueFile file(
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    const bool whole = ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                       written == text.size() && FlushFileBuffers(file.get());
    const bool closed = CloseHandle(file.release()) != FALSE;
    if (!whole || !closed ||
        !MoveFileExW(temporary.c_str(), Wide(path_).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}
