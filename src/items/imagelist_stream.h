// The byte layout of the icon data file: a common-controls image-list stream of a 32-bit
// colour list with a mask, as the platform writes it:
//
//   28-byte list header   magic "IL", version 0x0101, image count, capacity, growth, cx, cy,
//                         background colour, flags, four overlay slots
//   colour bitmap         BITMAPFILEHEADER, BITMAPINFOHEADER, 32-bit pixels, bottom-up;
//                         images lie side by side, four to a row of the bitmap
//   mask bitmap           the same headers, a two-colour palette, 1-bit pixels (1 = transparent)
//
// The platform reader trusts the counts and sizes of the header and reads past its buffers
// when they are patched, so every stream is checked here before it is handed over. The checks
// are those of the reader's needs plus bounds that keep a hostile file from claiming gigabytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace imagelist_stream {

inline constexpr size_t kListHeaderSize = 28;
inline constexpr size_t kBitmapHeadersSize = 14 + 40;  // file header + info header
inline constexpr size_t kMaskPaletteSize = 2 * 4;
// Enough bytes to know how long the stream claims to be.
inline constexpr size_t kPrefixSize = kListHeaderSize + kBitmapHeadersSize;

inline constexpr uint16_t kMagic = 0x4C49;  // "IL"
inline constexpr uint16_t kVersion = 0x0101;
inline constexpr uint16_t kColor32WithMask = 0x0021;  // ILC_COLOR32 | ILC_MASK
inline constexpr int kImagesPerRow = 4;
inline constexpr int kMaxImageSide = 256;
// 10001 items of 32 x 32 pixels take about 41 MB; nothing this program writes comes near this.
inline constexpr uint64_t kMaxStreamSize = 64ull * 1024 * 1024;

struct Layout {
    int imageCount = 0;
    int capacity = 0;
    int cx = 0;
    int cy = 0;
    int bitmapWidth = 0;   // pixels, kImagesPerRow * cx
    int bitmapHeight = 0;  // pixels, bottom-up rows
    uint64_t colorBitsOffset = 0;
    uint64_t maskHeaderOffset = 0;
    uint64_t maskBitsOffset = 0;
    uint64_t maskStride = 0;  // bytes per mask row
    uint64_t streamSize = 0;  // bytes from the list header to the end of the mask bits
};

// The layout claimed by the first bytes of a stream (at least kPrefixSize of them), or nothing
// when the list header or the colour bitmap's headers are not ones the reader takes safely.
std::optional<Layout> ParseLayout(const uint8_t* data, size_t size);

// The layout of a whole stream, or nothing when it is malformed or shorter than it claims.
// Bytes after the claimed end are not part of the stream and are ignored.
std::optional<Layout> CheckStream(const uint8_t* data, size_t size);

// For each image of a checked stream: true when all its pixels are transparent and colourless,
// the placeholder stored for an item that had no icon.
std::vector<bool> BlankImages(const uint8_t* data, const Layout& layout);

}  // namespace imagelist_stream
