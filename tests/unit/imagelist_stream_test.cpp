// The image-list stream check, against streams the platform wrote (tests/unit/data: a 16-pixel
// list of 7 images with the placeholder at 2 and 5, a 32-pixel list of 6 with it at 5).
#include "items/imagelist_stream.h"
#include "tests/support/little_endian.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using namespace imagelist_stream;

Bytes Fixture(const char* name) {
    std::string path = __FILE__;
    path = path.substr(0, path.find_last_of('/')) + "/data/" + name;
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

using kvtest::Put16;
using kvtest::Put32;

bool Valid(const Bytes& b) {
    return CheckStream(b.data(), b.size()).has_value();
}

class ImageListStreamTest : public ::testing::Test {
protected:
    Bytes small = Fixture("imagelist_16px_7images.dat");
    Bytes large = Fixture("imagelist_32px_6images.dat");
};

TEST_F(ImageListStreamTest, StreamsThePlatformWroteAreAcceptedWithTheirLayout) {
    ASSERT_EQ(12816u, small.size());
    std::optional<Layout> layout = CheckStream(small.data(), small.size());
    ASSERT_TRUE(layout);
    EXPECT_EQ(7, layout->imageCount);
    EXPECT_EQ(16, layout->cx);
    EXPECT_EQ(16, layout->cy);
    EXPECT_EQ(small.size(), layout->streamSize);

    layout = CheckStream(large.data(), large.size());
    ASSERT_TRUE(layout);
    EXPECT_EQ(6, layout->imageCount);
    EXPECT_EQ(32, layout->cx);
    EXPECT_EQ(large.size(), layout->streamSize);

    // The prefix alone tells how long the stream is.
    std::optional<Layout> claimed = ParseLayout(large.data(), kPrefixSize);
    ASSERT_TRUE(claimed);
    EXPECT_EQ(large.size(), claimed->streamSize);
}

TEST_F(ImageListStreamTest, PlaceholdersAreFoundInEveryTileRowAndRealIconsAreNot) {
    std::optional<Layout> layout = CheckStream(small.data(), small.size());
    ASSERT_TRUE(layout);
    EXPECT_EQ((std::vector<bool>{false, false, true, false, false, true, false}), BlankImages(small.data(), *layout));
    layout = CheckStream(large.data(), large.size());
    ASSERT_TRUE(layout);
    EXPECT_EQ((std::vector<bool>{false, false, false, false, false, true}), BlankImages(large.data(), *layout));
}

TEST_F(ImageListStreamTest, OneVisiblePixelMakesAPlaceholderAnImage) {
    std::optional<Layout> layout = CheckStream(small.data(), small.size());
    ASSERT_TRUE(layout);
    // Image 5 is the second of tile row 1; its bottom-right pixel is in the first memory row
    // of that tile row, at x = 2 * 16 - 1.
    const size_t row = static_cast<size_t>(layout->bitmapHeight - 1 - (16 + 15));
    Bytes colored = small;
    colored[layout->colorBitsOffset + (row * layout->bitmapWidth + 31) * 4] = 1;
    EXPECT_FALSE(BlankImages(colored.data(), *layout)[5]);
    Bytes unmasked = small;
    unmasked[layout->maskBitsOffset + row * layout->maskStride + 31 / 8] &= static_cast<uint8_t>(~1);
    EXPECT_FALSE(BlankImages(unmasked.data(), *layout)[5]);
    EXPECT_TRUE(BlankImages(unmasked.data(), *layout)[2]);
}

TEST_F(ImageListStreamTest, PatchedHeadersAreRefused) {
    struct Patch {
        const char* what;
        size_t offset;
        uint16_t value;
    };
    const size_t mask = 28 + 54 + 64 * 48 * 4;  // the mask bitmap's file header
    const Patch patches[] = {
        {"magic", 0, 0x4C4A},
        {"version", 2, 0x0102},
        {"count beyond the capacity", 4, 12},
        {"count far beyond the bitmap", 4, 0xFFFF},
        {"capacity beyond the bitmap", 6, 13},
        {"capacity at the limit", 6, 0xFFFF},
        {"width", 10, 32},
        {"height", 12, 17},
        {"zero width", 10, 0},
        {"huge height", 12, 0xFFFF},
        {"flags without the mask", 18, 0x0020},
        {"flags of another depth", 18, 0x0019},
        {"colour bitmap type", 28, 0x4D43},
        {"colour info size", 28 + 14, 12},
        {"colour bitmap width", 28 + 18, 63},
        {"colour bitmap height too small", 28 + 22, 32},
        {"colour bitmap planes", 28 + 26, 2},
        {"colour bitmap depth", 28 + 28, 24},
        {"colour bitmap compression", 28 + 30, 1},
        {"mask bitmap type", mask, 0},
        {"mask bitmap width", mask + 18, 128},
        {"mask bitmap height", mask + 22, 96},
        {"mask bitmap depth", mask + 28, 8},
    };
    ASSERT_TRUE(Valid(small));
    for (const Patch& patch : patches) {
        Bytes patched = small;
        Put16(patched, patch.offset, patch.value);
        EXPECT_FALSE(Valid(patched)) << patch.what;
    }
    Bytes negativeHeight = small;
    Put32(negativeHeight, 28 + 22, static_cast<uint32_t>(-48));
    EXPECT_FALSE(Valid(negativeHeight));
}

TEST_F(ImageListStreamTest, ATallerBitmapMeansALongerStreamThatMustBePresent) {
    // Claiming more rows moves the mask and the end; the file no longer holds them.
    Bytes taller = small;
    Put32(taller, 28 + 22, 64);
    std::optional<Layout> claimed = ParseLayout(taller.data(), taller.size());
    ASSERT_TRUE(claimed);
    EXPECT_GT(claimed->streamSize, taller.size());
    EXPECT_FALSE(Valid(taller));
}

TEST_F(ImageListStreamTest, EveryTruncationIsRefusedAndTrailingBytesAreIgnored) {
    for (size_t length = 0; length < small.size(); length += 64)
        EXPECT_FALSE(CheckStream(small.data(), length)) << length;
    EXPECT_FALSE(CheckStream(small.data(), small.size() - 1));
    Bytes longer = small;
    longer.resize(small.size() + 5000, 0xAB);
    std::optional<Layout> layout = CheckStream(longer.data(), longer.size());
    ASSERT_TRUE(layout);
    EXPECT_EQ(small.size(), layout->streamSize);
}

TEST_F(ImageListStreamTest, EmptyRandomAndOversizedInputsAreRefused) {
    EXPECT_FALSE(CheckStream(nullptr, 0));
    EXPECT_FALSE(ParseLayout(small.data(), kPrefixSize - 1));
    std::mt19937 random(12345);
    for (int round = 0; round < 200; ++round) {
        Bytes noise(1 + random() % 20000);
        for (uint8_t& b : noise)
            b = static_cast<uint8_t>(random());
        EXPECT_FALSE(Valid(noise));
        // Noise behind a real list header is refused too.
        if (noise.size() >= kListHeaderSize)
            std::copy(small.begin(), small.begin() + kListHeaderSize, noise.begin());
        EXPECT_FALSE(Valid(noise));
    }
    // 256 x 256 images with a capacity of 4096 would need a 1 GB stream.
    Bytes huge = small;
    Put16(huge, 6, 4096);
    Put16(huge, 10, 256);
    Put16(huge, 12, 256);
    Put32(huge, 28 + 18, 1024);
    Put32(huge, 28 + 22, 256 * 1024);
    EXPECT_FALSE(ParseLayout(huge.data(), huge.size()));
}

}  // namespace
