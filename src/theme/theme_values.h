// Number parsing and range limits for theme definition files.
#pragma once

#include <cstdint>
#include <string>

// Colour text "0x" + hexadecimal digits (either case) as a COLORREF (0x00BBGGRR). The first
// two characters are skipped unread; digits accumulate in 32-bit arithmetic (wrapping) and the
// scan stops at the first character that is not a hexadecimal digit. Text of two characters or
// fewer, or with no digit after them, gives 0.
uint32_t ParseHexColor(const std::string& text);

// C atoi rule (leading white space, optional sign, digits up to the first non-digit, 0 without
// digits), but a value outside the int range saturates instead of being undefined.
int ThemeAtoi(const std::string& text);

// Themes are user files; these bounds keep absurd values from building giant grids or images.
struct ThemeLimits {
    static constexpr int kMinButtons = 1;
    static constexpr int kMaxButtons = 32;  // XButton and YButton: the launcher grid holds at most 32 x 32
    static constexpr int kMinIconSize = 1;
    static constexpr int kMaxIconSize = 128;
    static constexpr int kMinButtonSpace = 0;
    static constexpr int kMaxButtonSpace = 100;
    static constexpr int kMinPosition = 0;
    static constexpr int kMaxPosition = 4096;  // Position x and y on the body bitmap
};

// The integer values of a theme definition file.
struct ThemeLayout {
    int IconSize = 16;
    int ButtonSpace = 3;
    int XButton = 6;
    int YButton = 2;
    int X = 3;
    int Y = 3;
};

ThemeLayout ClampThemeLayout(const ThemeLayout& layout);

// Bitmap files of a theme are checked before the system's loader sees them, because that
// loader trusts the headers: a few bytes that claim a giant image make it read far past the
// end of the file.
struct BmpLimits {
    static constexpr int kMaxEdge = 8192;             // pixels, width and height
    static constexpr size_t kHeaderBytes = 14 + 124;  // file header + the largest info header
};

// Whether the start of a BMP file (`header`, up to BmpLimits::kHeaderBytes of it) describes an
// image whose colour table and pixels lie within `fileSize` bytes: signature "BM", a known
// info header, 1 to 32 bits per pixel, edges of 1 to kMaxEdge pixels, uncompressed, bit-field
// or run-length data.
bool IsLoadableBmpHeader(const std::string& header, uint64_t fileSize);
