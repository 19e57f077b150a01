#include "framework/registry_profile.h"

#include <cwchar>
#include <vector>

#include "text/unicode.h"

namespace {

constexpr DWORD kLongestValueName = 16383;
constexpr DWORD kMaxStringDataBytes = RegistryProfile::kMaxStringUnits * sizeof(wchar_t);

// A string value's data as UTF-8, up to its first NUL (the data need not end in one).
std::string StringData(const BYTE* data, DWORD bytes) {
    const auto* units = reinterpret_cast<const wchar_t*>(data);
    return Utf8(std::wstring_view(units, wcsnlen(units, bytes / sizeof(wchar_t))));
}

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char x = (a[i] >= 'A' && a[i] <= 'Z') ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        const char y = (b[i] >= 'A' && b[i] <= 'Z') ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y)
            return false;
    }
    return true;
}

}  // namespace

RegistryProfile::RegistryProfile(std::string company, std::string application)
    : company_(std::move(company)), application_(std::move(application)) {}

std::string RegistryProfile::RootPath() const {
    std::string path = "Software\\";
    if (!company_.empty())
        path += company_ + "\\";
    return path + application_;
}

std::string RegistryProfile::KeyPath(const std::string& section) const {
    return RootPath() + "\\" + section;
}

HKEY RegistryProfile::SectionKey(const std::string& section, bool create) {
    auto it = keys_.find(section);
    if (it != keys_.end())
        return it->second.get();
    HKEY key = nullptr;
    const std::wstring path = Wide(KeyPath(section));
    LONG status = create ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                           nullptr, &key, nullptr)
                         : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ | KEY_WRITE, &key);
    if (status != ERROR_SUCCESS)
        return nullptr;
    keys_[section].reset(key);
    return key;
}

template <typename Call>
LONG RegistryProfile::OnSection(const std::string& section, bool create, Call call) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        HKEY k = SectionKey(section, create);
        if (!k)
            return ERROR_FILE_NOT_FOUND;
        LONG status = call(k);
        if (status != ERROR_KEY_DELETED)
            return status;
        keys_.erase(section);
        copies_.erase(section);
    }
    return ERROR_KEY_DELETED;
}

int RegistryProfile::GetInt(const std::string& section, const std::string& key, int defaultValue) {
    DWORD type = 0, value = 0, size = 0;
    LONG status = OnSection(section, false, [&](HKEY k) {
        size = sizeof(value);
        return RegQueryValueExW(k, Wide(key).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    });
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value))
        return defaultValue;
    return static_cast<int>(value);
}

std::string RegistryProfile::GetString(const std::string& section,
                                       const std::string& key,
                                       const std::string& defaultValue) {
    std::string value;
    const std::wstring name = Wide(key);
    LONG status = OnSection(section, false, [&](HKEY k) {
        DWORD type = 0, size = 0;
        LONG result = RegQueryValueExW(k, name.c_str(), nullptr, &type, nullptr, &size);
        if (result != ERROR_SUCCESS)
            return result;
        if ((type != REG_SZ && type != REG_EXPAND_SZ) || size > kMaxStringDataBytes)
            return static_cast<LONG>(ERROR_INVALID_DATA);
        std::vector<BYTE> data(size + sizeof(wchar_t), 0);
        DWORD read = size;
        result = RegQueryValueExW(k, name.c_str(), nullptr, &type, data.data(), &read);
        value = StringData(data.data(), read);
        return result;
    });
    return status == ERROR_SUCCESS ? value : defaultValue;
}

void RegistryProfile::WriteInt(const std::string& section, const std::string& key, int value) {
    DWORD v = static_cast<DWORD>(value);
    const LONG status = OnSection(section, true, [&](HKEY k) {
        return RegSetValueExW(k, Wide(key).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof(v));
    });
    static const std::string kNotAString;
    NoteOwnChange(section, key, status == ERROR_SUCCESS, &kNotAString);
}

void RegistryProfile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    const std::wstring text = Wide(value.c_str());
    const LONG status = OnSection(section, true, [&](HKEY k) {
        return RegSetValueExW(k, Wide(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    });
    // What GetString gives back: the text up to its first NUL, nothing when too long.
    const std::string stored = text.size() + 1 > kMaxStringUnits ? std::string() : std::string(value.c_str());
    NoteOwnChange(section, key, status == ERROR_SUCCESS, &stored);
}

void RegistryProfile::DeleteValue(const std::string& section, const std::string& key) {
    const LONG status = OnSection(section, false, [&](HKEY k) { return RegDeleteValueW(k, Wide(key).c_str()); });
    NoteOwnChange(section, key, status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND, nullptr);
}

bool RegistryProfile::SectionStamp::operator==(const SectionStamp& other) const {
    return lastWrite.dwLowDateTime == other.lastWrite.dwLowDateTime &&
           lastWrite.dwHighDateTime == other.lastWrite.dwHighDateTime && values == other.values &&
           longestName == other.longestName && longestData == other.longestData;
}

bool RegistryProfile::StampOf(const std::string& section, SectionStamp& stamp) {
    return OnSection(section, false, [&](HKEY k) {
               return RegQueryInfoKeyW(k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &stamp.values,
                                       &stamp.longestName, &stamp.longestData, nullptr, &stamp.lastWrite);
           }) == ERROR_SUCCESS;
}

void RegistryProfile::NoteOwnChange(const std::string& section,
                                    const std::string& key,
                                    bool succeeded,
                                    const std::string* text) {
    auto copy = copies_.find(section);
    if (copy == copies_.end())
        return;
    if (!succeeded) {
        // What the key holds now is not known: read it afresh next time.
        copies_.erase(copy);
        return;
    }
    std::map<std::string, std::string>& values = copy->second.values;
    auto same = values.find(key);
    if (same == values.end()) {
        // A name that differs only in case is the same registry value under its stored name.
        for (const auto& [name, value] : values) {
            if (EqualIgnoringAsciiCase(name, key)) {
                copies_.erase(copy);
                return;
            }
        }
    }
    if (text)
        values[key] = *text;
    else if (same != values.end())
        values.erase(same);
    if (!StampOf(section, copy->second.stamp))
        copies_.erase(section);
}

std::map<std::string, std::string> RegistryProfile::ReadSection(const std::string& section) {
    SectionStamp stamp;
    if (!StampOf(section, stamp)) {
        copies_.erase(section);
        return {};
    }
    auto copy = copies_.find(section);
    if (copy != copies_.end() && copy->second.stamp == stamp)
        return copy->second.values;
    std::map<std::string, std::string> values;
    if (OnSection(section, false, [&](HKEY k) { return EnumerateSection(k, values); }) != ERROR_SUCCESS) {
        copies_.erase(section);
        return values;
    }
    // The stamp was taken before the enumeration: a change made meanwhile makes the next read
    // enumerate again.
    copies_[section] = SectionCopy{stamp, values};
    return values;
}

// Names with their texts as GetString would give them; a value that is not a string, or is
// longer than kMaxStringUnits, has an empty text.
LONG RegistryProfile::EnumerateSection(HKEY key, std::map<std::string, std::string>& values) const {
    values.clear();
    std::vector<wchar_t> name(kLongestValueName + 1);
    std::vector<BYTE> data(1024);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataLength = static_cast<DWORD>(data.size());
        DWORD type = 0;
        LONG status = RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength);
        if (status == ERROR_MORE_DATA) {
            // The data does not fit: learn the name and the size, then read it again if it may.
            nameLength = static_cast<DWORD>(name.size());
            dataLength = 0;
            status = RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, nullptr, &dataLength);
            if (status == ERROR_SUCCESS && dataLength <= kMaxStringDataBytes) {
                data.resize(dataLength + sizeof(wchar_t));
                --i;
                continue;
            }
            if (status == ERROR_SUCCESS) {
                values[Utf8(std::wstring_view(name.data(), nameLength))] = std::string();
                continue;
            }
        }
        if (status == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (status != ERROR_SUCCESS)
            return status;
        std::string text;
        if ((type == REG_SZ || type == REG_EXPAND_SZ) && dataLength <= kMaxStringDataBytes)
            text = StringData(data.data(), dataLength);
        values[Utf8(std::wstring_view(name.data(), nameLength))] = std::move(text);
    }
}

std::vector<std::string> RegistryProfile::ValueNames(const std::string& section) {
    std::vector<std::string> names;
    OnSection(section, false, [&](HKEY k) {
        names.clear();
        std::vector<wchar_t> name(kLongestValueName + 1);
        for (DWORD i = 0;; ++i) {
            DWORD length = static_cast<DWORD>(name.size());
            LONG status = RegEnumValueW(k, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
            if (status == ERROR_NO_MORE_ITEMS)
                return static_cast<LONG>(ERROR_SUCCESS);
            if (status == ERROR_SUCCESS)
                names.push_back(Utf8(std::wstring_view(name.data(), length)));
            else if (status != ERROR_MORE_DATA)
                return status;
        }
    });
    return names;
}
