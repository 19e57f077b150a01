#include "theme/theme_file.h"

#include "text/ascii.h"
#include "text/profile_ini.h"
#include "text/unicode.h"

namespace {

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

std::string_view WithoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string Bounded(std::string_view value, size_t maxUnits) {
    return std::string(Utf16Prefix(value, maxUnits == 0 ? 0 : maxUnits - 1));
}

}  // namespace

std::string ThemeFileValue(std::string_view text,
                           std::string_view section,
                           std::string_view key,
                           std::string_view defaultValue,
                           size_t maxUnits) {
    bool inSection = false;
    std::string_view line;
    while (TakeIniLine(text, line)) {
        if (line.front() == '[') {
            const size_t close = line.rfind(']');
            if (close == std::string_view::npos)
                continue;
            if (inSection)
                break;  // only the first section of the name is read
            inSection = SameName(TrimmedBlanks(line.substr(1, close - 1)), section);
            continue;
        }
        if (!inSection)
            continue;
        const size_t equals = line.find('=');
        if (SameName(TrimmedBlanks(line.substr(0, equals)), key))
            return equals == std::string_view::npos
                       ? std::string()
                       : Bounded(WithoutQuotes(TrimmedBlanks(line.substr(equals + 1))), maxUnits);
    }
    while (!defaultValue.empty() && defaultValue.back() == ' ')
        defaultValue.remove_suffix(1);
    return Bounded(defaultValue, maxUnits);
}
