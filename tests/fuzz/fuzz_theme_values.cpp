// Theme values: colour keys and integers read from a definition file never overflow, and
// clamped layouts stay within their bounds.
#include "fuzz_input.h"
#include "theme/theme_values.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    ParseHexColor(text);
    int value = ThemeAtoi(text);
    std::string bounded = text.substr(0, text.find('\0'));
    errno = 0;
    long long expected = strtoll(bounded.c_str(), nullptr, 10);
    if (expected > INT_MAX)
        expected = INT_MAX;
    if (expected < INT_MIN)
        expected = INT_MIN;
    FUZZ_CHECK(value == static_cast<int>(expected));

    ThemeLayout layout{value, value, value, value, value, value};
    ThemeLayout clamped = ClampThemeLayout(layout);
    FUZZ_CHECK(clamped.XButton >= ThemeLimits::kMinButtons && clamped.XButton <= ThemeLimits::kMaxButtons);
    FUZZ_CHECK(clamped.YButton >= ThemeLimits::kMinButtons && clamped.YButton <= ThemeLimits::kMaxButtons);
    FUZZ_CHECK(clamped.X >= ThemeLimits::kMinPosition && clamped.X <= ThemeLimits::kMaxPosition);
    return 0;
}
