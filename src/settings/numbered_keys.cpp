#include "settings/numbered_keys.h"

#include "framework/profile_store.h"
#include "text/ascii.h"

namespace {

bool StartsWithIgnoringAsciiCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(text[i]) != AsciiLower(prefix[i]))
            return false;
    }
    return true;
}

}  // namespace

std::string NumberedKey(const std::string& prefix, int index) {
    return prefix + std::to_string(index);
}

std::optional<int> ParseNumberedKey(const std::string& name, const std::string& prefix, int maxIndex) {
    if (!StartsWithIgnoringAsciiCase(name, prefix))
        return std::nullopt;
    const std::string digits = name.substr(prefix.size());
    if (digits.empty() || (digits.size() > 1 && digits[0] == '0'))
        return std::nullopt;
    long long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > maxIndex)
            return std::nullopt;
    }
    return static_cast<int>(value);
}

std::map<int, std::string> ReadNumberedValues(ProfileStore& profile,
                                              const std::string& section,
                                              const std::string& prefix,
                                              int maxIndex) {
    std::map<int, std::string> values;
    for (auto& [name, text] : profile.ReadSection(section)) {
        if (std::optional<int> index = ParseNumberedKey(name, prefix, maxIndex))
            values[*index] = std::move(text);
    }
    return values;
}

void DeleteStaleNumberedKeys(ProfileStore& profile,
                             const std::string& section,
                             const std::string& prefix,
                             int maxIndex,
                             const std::set<int>& keep) {
    for (const std::string& name : profile.ValueNames(section)) {
        const std::optional<int> index = ParseNumberedKey(name, prefix, maxIndex);
        if (index && keep.count(*index) == 0)
            profile.DeleteValue(section, name);
    }
}
