#include "items/imagelist_stream.h"

namespace imagelist_stream {
namespace {

constexpr uint16_t kBitmapType = 0x4D42;  // "BM"
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kUncompressed = 0;

uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

struct BitmapHeaders {
    uint16_t type;
    uint32_t infoSize;
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bitCount;
    uint32_t compression;
};

// p points at a BITMAPFILEHEADER followed by a BITMAPINFOHEADER.
BitmapHeaders ReadBitmapHeaders(const uint8_t* p) {
    const uint8_t* info = p + 14;
    return BitmapHeaders{U16(p),
                         U32(info),
                         static_cast<int32_t>(U32(info + 4)),
                         static_cast<int32_t>(U32(info + 8)),
                         U16(info + 12),
                         U16(info + 14),
                         U32(info + 16)};
}

bool HasShape(const BitmapHeaders& h, int width, int height, uint16_t bitCount) {
    return h.type == kBitmapType && h.infoSize == kInfoHeaderSize && h.width == width && h.height == height &&
           h.planes == 1 && h.bitCount == bitCount && h.compression == kUncompressed;
}

// Rows of the DIB are padded to four bytes.
uint64_t RowBytes(int width, int bitCount) {
    return (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
}

int TileRowsFor(int images) {
    return (images + kImagesPerRow - 1) / kImagesPerRow;
}

}  // namespace

std::optional<Layout> ParseLayout(const uint8_t* data, size_t size) {
    if (!data || size < kPrefixSize)
        return std::nullopt;
    if (U16(data) != kMagic || U16(data + 2) != kVersion || U16(data + 18) != kColor32WithMask)
        return std::nullopt;
    Layout layout;
    layout.imageCount = U16(data + 4);
    layout.capacity = U16(data + 6);
    layout.cx = U16(data + 10);
    layout.cy = U16(data + 12);
    if (layout.cx < 1 || layout.cx > kMaxImageSide || layout.cy < 1 || layout.cy > kMaxImageSide)
        return std::nullopt;
    // The reader sizes its list for the capacity and then fills imageCount images into it.
    if (layout.imageCount > layout.capacity)
        return std::nullopt;

    const BitmapHeaders color = ReadBitmapHeaders(data + kListHeaderSize);
    layout.bitmapWidth = kImagesPerRow * layout.cx;
    layout.bitmapHeight = color.height;
    if (!HasShape(color, layout.bitmapWidth, color.height, 32))
        return std::nullopt;
    // The reader makes its list for the capacity and fills it tile row by tile row from the
    // bitmap, which must therefore hold the whole capacity; this also ties the size of the
    // list it makes to the size of the file.
    if (color.height <= 0 || color.height < static_cast<int64_t>(TileRowsFor(layout.capacity)) * layout.cy)
        return std::nullopt;

    layout.colorBitsOffset = kPrefixSize;
    const uint64_t colorBits = RowBytes(layout.bitmapWidth, 32) * static_cast<uint64_t>(layout.bitmapHeight);
    layout.maskHeaderOffset = layout.colorBitsOffset + colorBits;
    layout.maskBitsOffset = layout.maskHeaderOffset + kBitmapHeadersSize + kMaskPaletteSize;
    layout.maskStride = RowBytes(layout.bitmapWidth, 1);
    layout.streamSize = layout.maskBitsOffset + layout.maskStride * static_cast<uint64_t>(layout.bitmapHeight);
    if (layout.streamSize > kMaxStreamSize)
        return std::nullopt;
    return layout;
}

std::optional<Layout> CheckStream(const uint8_t* data, size_t size) {
    std::optional<Layout> layout = ParseLayout(data, size);
    if (!layout || size < layout->streamSize)
        return std::nullopt;
    const BitmapHeaders mask = ReadBitmapHeaders(data + layout->maskHeaderOffset);
    // The reader addresses the mask with the colour bitmap's width and height.
    if (!HasShape(mask, layout->bitmapWidth, layout->bitmapHeight, 1))
        return std::nullopt;
    return layout;
}

std::vector<bool> BlankImages(const uint8_t* data, const Layout& layout) {
    std::vector<bool> blank(static_cast<size_t>(layout.imageCount), true);
    const uint8_t* colorBits = data + layout.colorBitsOffset;
    const uint8_t* maskBits = data + layout.maskBitsOffset;
    const uint64_t colorStride = RowBytes(layout.bitmapWidth, 32);
    for (int image = 0; image < layout.imageCount; ++image) {
        const int left = (image % kImagesPerRow) * layout.cx;
        const int top = (image / kImagesPerRow) * layout.cy;
        bool isBlank = true;
        for (int y = 0; y < layout.cy && isBlank; ++y) {
            const uint64_t row = static_cast<uint64_t>(layout.bitmapHeight - 1 - (top + y));  // bottom-up
            for (int x = left; x < left + layout.cx; ++x) {
                const bool transparent = (maskBits[row * layout.maskStride + x / 8] >> (7 - x % 8)) & 1;
                if (!transparent || U32(colorBits + row * colorStride + static_cast<uint64_t>(x) * 4) != 0) {
                    isBlank = false;
                    break;
                }
            }
        }
        blank[static_cast<size_t>(image)] = isBlank;
    }
    return blank;
}

}  // namespace imagelist_stream
