#include "theme/theme_values.h"

#include <algorithm>
#include <climits>

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

uint32_t ParseHexColor(const std::string& text) {
    uint32_t color = 0;
    for (size_t i = 2; i < text.size(); ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0)
            break;
        color = color * 16 + static_cast<uint32_t>(digit);
    }
    return color;
}

int ThemeAtoi(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate the magnitude up to one past INT_MAX so that INT_MIN stays reachable.
    const long long limit = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        magnitude = std::min(limit, magnitude * 10 + (text[i] - '0'));
    const long long value = negative ? -magnitude : magnitude;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

ThemeLayout ClampThemeLayout(const ThemeLayout& layout) {
    using L = ThemeLimits;
    ThemeLayout clamped;
    clamped.IconSize = std::clamp(layout.IconSize, L::kMinIconSize, L::kMaxIconSize);
    clamped.ButtonSpace = std::clamp(layout.ButtonSpace, L::kMinButtonSpace, L::kMaxButtonSpace);
    clamped.XButton = std::clamp(layout.XButton, L::kMinButtons, L::kMaxButtons);
    clamped.YButton = std::clamp(layout.YButton, L::kMinButtons, L::kMaxButtons);
    clamped.X = std::clamp(layout.X, L::kMinPosition, L::kMaxPosition);
    clamped.Y = std::clamp(layout.Y, L::kMinPosition, L::kMaxPosition);
    return clamped;
}
