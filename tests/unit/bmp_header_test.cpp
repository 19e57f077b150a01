#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>

#include "theme/theme_values.h"

namespace {

void PutLe(std::string& bytes, size_t offset, uint32_t value, size_t width) {
    for (size_t i = 0; i < width; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The headers of a BMP with a 40-byte info header, and the size the whole file would have.
struct Bmp {
    std::string header = std::string(54, '\0');
    uint64_t fileSize = 0;
};

Bmp MakeHeader(int32_t width, int32_t height, uint16_t bits, uint32_t compression = 0, uint32_t colorsUsed = 0) {
    Bmp bmp;
    std::string& h = bmp.header;
    h[0] = 'B';
    h[1] = 'M';
    const uint32_t table = bits <= 8 ? 4u * (colorsUsed ? colorsUsed : (1u << bits)) : 0;
    const uint32_t offset = 54 + table;
    PutLe(h, 10, offset, 4);
    PutLe(h, 14, 40, 4);
    PutLe(h, 18, static_cast<uint32_t>(width), 4);
    PutLe(h, 22, static_cast<uint32_t>(height), 4);
    PutLe(h, 26, 1, 2);
    PutLe(h, 28, bits, 2);
    PutLe(h, 30, compression, 4);
    PutLe(h, 46, colorsUsed, 4);
    const uint64_t rowBytes = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
    const int64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
    bmp.fileSize = offset + rowBytes * static_cast<uint64_t>(rows);
    return bmp;
}

TEST(BmpHeader, CompleteFilesOfTheUsualFormatsPass) {
    for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bits);
        const Bmp bmp = MakeHeader(30, 24, bits);
        EXPECT_TRUE(IsLoadableBmpHeader(bmp.header, bmp.fileSize));
    }
    const Bmp topDown = MakeHeader(1, -1, 24);
    EXPECT_TRUE(IsLoadableBmpHeader(topDown.header, topDown.fileSize));
    const Bmp bitFields = MakeHeader(5, 5, 32, 3);
    EXPECT_TRUE(IsLoadableBmpHeader(bitFields.header, bitFields.fileSize + 12));
}

TEST(BmpHeader, HeadersThatPromiseMoreThanTheFileHoldsFail) {
    const Bmp bmp = MakeHeader(30, 24, 24);
    EXPECT_FALSE(IsLoadableBmpHeader(bmp.header, bmp.fileSize - 1));
    const Bmp giant = MakeHeader(30000, 30000, 24);
    EXPECT_FALSE(IsLoadableBmpHeader(giant.header, 60));
    EXPECT_FALSE(IsLoadableBmpHeader(giant.header, giant.fileSize));  // beyond the edge limit, even when present
    const Bmp palette = MakeHeader(2, 2, 8, 0, 0x40000000);
    EXPECT_FALSE(IsLoadableBmpHeader(palette.header, 100));
}

TEST(BmpHeader, OtherFilesFail) {
    EXPECT_FALSE(IsLoadableBmpHeader("", 0));
    EXPECT_FALSE(IsLoadableBmpHeader("this is a text file, not a bitmap at all....................", 62));
    Bmp bmp = MakeHeader(4, 4, 24);
    EXPECT_FALSE(IsLoadableBmpHeader(bmp.header.substr(0, 20), bmp.fileSize));
    for (auto [offset, value, width] : {std::tuple{18u, 0u, 4u}, std::tuple{22u, 0u, 4u}, std::tuple{28u, 3u, 2u},
                                        std::tuple{30u, 4u, 4u}, std::tuple{14u, 20u, 4u}}) {
        SCOPED_TRACE(offset);
        Bmp broken = MakeHeader(4, 4, 24);
        PutLe(broken.header, offset, value, width);
        EXPECT_FALSE(IsLoadableBmpHeader(broken.header, broken.fileSize));
    }
}

TEST(BmpHeader, RunLengthDataMustFitItsDeclaredSize) {
    Bmp rle = MakeHeader(16, 16, 8, 1);
    PutLe(rle.header, 34, 100, 4);
    const uint64_t offset = 54 + 1024;
    EXPECT_TRUE(IsLoadableBmpHeader(rle.header, offset + 100));
    EXPECT_FALSE(IsLoadableBmpHeader(rle.header, offset + 99));
    PutLe(rle.header, 34, 0, 4);
    EXPECT_FALSE(IsLoadableBmpHeader(rle.header, offset + 100));
}

}  // namespace
