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

namespace {

uint32_t ReadLe(const std::string& bytes, size_t offset, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    return value;
}

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;
constexpr uint32_t kInfoHeaderBytes = 40;

// The compression field of the info header.
enum BmpCompression : uint32_t {
    kCompressionRgb = 0,
    kCompressionRle8 = 1,
    kCompressionRle4 = 2,
    kCompressionBitFields = 3,
};

}  // namespace

bool IsLoadableBmpHeader(const std::string& header, uint64_t fileSize) {
    if (header.size() < kFileHeaderBytes + kCoreHeaderBytes || header[0] != 'B' || header[1] != 'M')
        return false;
    const uint64_t pixelOffset = ReadLe(header, 10, 4);
    const uint32_t infoBytes = ReadLe(header, 14, 4);
    const bool core = infoBytes == kCoreHeaderBytes;
    if (!core && (infoBytes < kInfoHeaderBytes || header.size() < kFileHeaderBytes + kInfoHeaderBytes))
        return false;

    // Widths and heights are 16-bit unsigned in the old core header, 32-bit signed otherwise;
    // a negative height means rows stored top-down.
    const int64_t width = core ? static_cast<int64_t>(ReadLe(header, 18, 2))
                               : static_cast<int64_t>(static_cast<int32_t>(ReadLe(header, 18, 4)));
    const int64_t signedHeight = core ? static_cast<int64_t>(ReadLe(header, 20, 2))
                                      : static_cast<int64_t>(static_cast<int32_t>(ReadLe(header, 22, 4)));
    const int64_t height = signedHeight < 0 ? -signedHeight : signedHeight;
    const uint32_t bitsPerPixel = ReadLe(header, core ? 24 : 28, 2);
    const uint32_t compression = core ? kCompressionRgb : ReadLe(header, 30, 4);
    if (width < 1 || width > BmpLimits::kMaxEdge || height < 1 || height > BmpLimits::kMaxEdge)
        return false;
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 &&
        bitsPerPixel != 32)
        return false;

    // The colour table follows the info header (and, for bit fields in a 40-byte header, the masks).
    uint64_t tableEntries = 0;
    if (bitsPerPixel <= 8) {
        const uint32_t used = core ? 0 : ReadLe(header, 46, 4);
        tableEntries = used != 0 ? used : (1u << bitsPerPixel);
    }
    const uint64_t masks = (!core && compression == kCompressionBitFields && infoBytes == kInfoHeaderBytes) ? 12 : 0;
    const uint64_t tableEnd = kFileHeaderBytes + infoBytes + masks + tableEntries * (core ? 3 : 4);
    if (tableEnd > fileSize || pixelOffset >= fileSize)
        return false;

    const uint64_t rowBytes = ((static_cast<uint64_t>(width) * bitsPerPixel + 31) / 32) * 4;
    switch (compression) {
        case kCompressionRgb:
        case kCompressionBitFields:
            if (compression == kCompressionBitFields && bitsPerPixel != 16 && bitsPerPixel != 32)
                return false;
            return pixelOffset + rowBytes * static_cast<uint64_t>(height) <= fileSize;
        case kCompressionRle8:
        case kCompressionRle4: {
            if (bitsPerPixel != (compression == kCompressionRle8 ? 8u : 4u) || signedHeight < 0)
                return false;
            const uint64_t dataBytes = ReadLe(header, 34, 4);
            return dataBytes != 0 && pixelOffset + dataBytes <= fileSize;
        }
        default:
            return false;
    }
}
