#include "framework/registry_profile.h"

RegistryProfile::RegistryProfile(std::string company, std::string application)
    : company_(std::move(company)), application_(std::move(application)) {}

std::string RegistryProfile::KeyPath(const std::string& section) const {
    std::string path = "Software\\";
    if (!company_.empty())
        path += company_ + "\\";
    return path + application_ + "\\" + section;
}

HKEY RegistryProfile::SectionKey(const std::string& section, bool create) {
    auto it = keys_.find(section);
    if (it != keys_.end())
        return it->second.get();
    HKEY key = nullptr;
    LONG status = create ? RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(section).c_str(), 0, nullptr, 0,
                                           KEY_READ | KEY_WRITE, nullptr, &key, nullptr)
                         : RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(section).c_str(), 0, KEY_READ | KEY_WRITE, &key);
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
    }
    return ERROR_KEY_DELETED;
}

int RegistryProfile::GetInt(const std::string& section, const std::string& key, int defaultValue) {
    DWORD type = 0, value = 0, size = 0;
    LONG status = OnSection(section, false, [&](HKEY k) {
        size = sizeof(value);
        return RegQueryValueExA(k, key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    });
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value))
        return defaultValue;
    return static_cast<int>(value);
}

std::string RegistryProfile::GetString(const std::string& section, const std::string& key,
                                       const std::string& defaultValue) {
    std::string value;
    LONG status = OnSection(section, false, [&](HKEY k) {
        DWORD type = 0, size = 0;
        LONG result = RegQueryValueExA(k, key.c_str(), nullptr, &type, nullptr, &size);
        if (result != ERROR_SUCCESS)
            return result;
        if ((type != REG_SZ && type != REG_EXPAND_SZ) || size > kMaxStringBytes)
            return static_cast<LONG>(ERROR_INVALID_DATA);
        value.assign(size + 1, '\0');
        DWORD read = size + 1;
        result = RegQueryValueExA(k, key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &read);
        value.resize(strnlen(value.c_str(), read));
        return result;
    });
    return status == ERROR_SUCCESS ? value : defaultValue;
}

void RegistryProfile::WriteInt(const std::string& section, const std::string& key, int value) {
    DWORD v = static_cast<DWORD>(value);
    OnSection(section, true, [&](HKEY k) {
        return RegSetValueExA(k, key.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof(v));
    });
}

void RegistryProfile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    OnSection(section, true, [&](HKEY k) {
        return RegSetValueExA(k, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>(value.size() + 1));
    });
}

void RegistryProfile::DeleteValue(const std::string& section, const std::string& key) {
    OnSection(section, false, [&](HKEY k) { return RegDeleteValueA(k, key.c_str()); });
}

std::vector<std::string> RegistryProfile::ValueNames(const std::string& section) {
    std::vector<std::string> names;
    OnSection(section, false, [&](HKEY k) {
        names.clear();
        char name[16384];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof(name);
            LONG status = RegEnumValueA(k, i, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (status == ERROR_NO_MORE_ITEMS)
                return static_cast<LONG>(ERROR_SUCCESS);
            if (status == ERROR_SUCCESS)
                names.emplace_back(name, length);
            else if (status != ERROR_MORE_DATA)
                return status;
        }
    });
    return names;
}
