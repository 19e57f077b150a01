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

int RegistryProfile::GetInt(const std::string& section, const std::string& key, int defaultValue) {
    HKEY k = SectionKey(section, false);
    DWORD type = 0, value = 0, size = sizeof(value);
    if (!k || RegQueryValueExA(k, key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        return defaultValue;
    if (type != REG_DWORD || size != sizeof(value))
        return defaultValue;
    return static_cast<int>(value);
}

std::string RegistryProfile::GetString(const std::string& section, const std::string& key,
                                       const std::string& defaultValue) {
    HKEY k = SectionKey(section, false);
    DWORD type = 0, size = 0;
    if (!k || RegQueryValueExA(k, key.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return defaultValue;
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || size > kMaxStringBytes)
        return defaultValue;
    std::string value(size + 1, '\0');
    DWORD read = size + 1;
    if (RegQueryValueExA(k, key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &read) != ERROR_SUCCESS)
        return defaultValue;
    value.resize(strnlen(value.c_str(), read));
    return value;
}

void RegistryProfile::WriteInt(const std::string& section, const std::string& key, int value) {
    if (HKEY k = SectionKey(section, true)) {
        DWORD v = static_cast<DWORD>(value);
        RegSetValueExA(k, key.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof(v));
    }
}

void RegistryProfile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    if (HKEY k = SectionKey(section, true))
        RegSetValueExA(k, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
}

void RegistryProfile::DeleteValue(const std::string& section, const std::string& key) {
    if (HKEY k = SectionKey(section, false))
        RegDeleteValueA(k, key.c_str());
}

std::vector<std::string> RegistryProfile::ValueNames(const std::string& section) {
    std::vector<std::string> names;
    HKEY k = SectionKey(section, false);
    if (!k)
        return names;
    char name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof(name);
        LONG status = RegEnumValueA(k, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status == ERROR_SUCCESS)
            names.emplace_back(name, length);
        else if (status != ERROR_MORE_DATA)
            break;
    }
    return names;
}
