// The icon data file on real files: round trips through the platform's image-list stream,
// placeholders, every kind of damaged file, and saves that cannot complete.
#include "items/data_file.h"

#include "items/imagelist_stream.h"
#include "support/icon_scratch.h"
#include "tests/support/little_endian.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace kvtest;

// An image list of size-pixel images: 'i' a real icon, 'b' a placeholder.
UniqueImageList MakeList(const std::string& pattern, int size) {
    UniqueImageList list(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 0, 1));
    UniqueIcon icon(ShellIconFor(kNotepad, size));
    for (char c : pattern) {
        if (c == 'b')
            AppendBlankImage(list.get());
        else
            ImageList_ReplaceIcon(list.get(), -1, icon.get());
    }
    return list;
}

using kvtest::Put16;

class DataFileTest : public ::testing::Test {
protected:
    void SetUp() override { InitCommonControls(); }

    // A valid file of 3 images, its bytes.
    Bytes ValidFile() {
        EXPECT_TRUE(WriteDataFile(path, MakeList("ibi", 16).get()));
        return ReadBytes(path);
    }

    void ExpectRefused(const Bytes& bytes, const std::string& what) {
        WriteBytes(path, bytes);
        StoredImages images = ReadDataFile(path);
        EXPECT_EQ(kDataFileReadList, images.failedStep) << what;
        EXPECT_FALSE(images.list) << what;
        EXPECT_EQ(0, images.Count()) << what;
    }

    ScratchFolder folder;
    std::string path = folder.File("Kestrovar.dat");
};

TEST_F(DataFileTest, ImagesAndPlaceholdersSurviveAWriteAndRead) {
    for (int size : {16, 32}) {
        ASSERT_TRUE(WriteDataFile(path, MakeList("iibiiib", size).get())) << size;
        StoredImages images = ReadDataFile(path);
        EXPECT_EQ(kDataFileReadOk, images.failedStep);
        ASSERT_TRUE(images.list);
        EXPECT_EQ(7, ImageList_GetImageCount(images.list.get()));
        EXPECT_EQ((std::vector<bool>{false, false, true, false, false, false, true}), images.blank);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(images.list.get(), &cx, &cy);
        EXPECT_EQ(size, cx);

        // The stored image draws like the icon it was made from.
        UniqueIcon original(ShellIconFor(kNotepad, size));
        UniqueIcon restored(ImageList_GetIcon(images.list.get(), 3, ILD_NORMAL));
        EXPECT_EQ(PixelsOf(original.get(), size), PixelsOf(restored.get(), size));
        EXPECT_FALSE(Exists(path + ".tmp"));
    }
}

// An icon drawn from a 32-bit picture: with an alpha ramp (a soft edge), or with no alpha at all
// as older icons have.
HICON MakeIcon(int size, bool withAlpha) {
    uint32_t* pixels = nullptr;
    UniqueBitmap color = CreateTopDownDib(size, size, &pixels);
    for (int i = 0; i < size * size; ++i)
        pixels[i] = (withAlpha ? static_cast<uint32_t>(i * 255 / (size * size)) << 24 : 0) | (0x00336699u + i);
    std::vector<uint8_t> maskBits(static_cast<size_t>((size + 15) / 16 * 2 * size), 0x0F);
    UniqueBitmap mask(CreateBitmap(size, size, 1, 1, maskBits.data()));
    ICONINFO info = {TRUE, 0, 0, mask.get(), color.get()};
    return CreateIconIndirect(&info);
}

// The list made for a save holds what adding every icon one at a time holds, byte for byte:
// shell icons, icons with and without alpha, icons of another size, repeats and placeholders,
// over more than one strip of images; and so does the list made again from the images read back.
TEST_F(DataFileTest, TheSavedListHoldsWhatAddingEachIconWouldHold) {
    for (int size : {12, 16, 20, 32}) {
        std::vector<UniqueIcon> owned;
        owned.emplace_back(ShellIconFor(kNotepad, size));
        owned.emplace_back(ShellIconFor(kRegedit, size));
        owned.emplace_back(MakeIcon(size, true));
        owned.emplace_back(MakeIcon(size, false));
        owned.emplace_back(MakeIcon(size == 32 ? 16 : 32, true));
        std::vector<HICON> icons;
        for (int i = 0; i < 600; ++i)
            icons.push_back(i % 7 == 6 ? nullptr : owned[static_cast<size_t>(i * 3 % 5)].get());

        UniqueImageList oneByOne(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, static_cast<int>(icons.size()), 4));
        for (HICON icon : icons) {
            if (!icon || ImageList_ReplaceIcon(oneByOne.get(), -1, icon) < 0) {
                ASSERT_TRUE(AppendBlankImage(oneByOne.get()));
            }
        }
        ASSERT_TRUE(WriteDataFile(path, oneByOne.get()));
        const Bytes expected = ReadBytes(path);
        ASSERT_TRUE(WriteDataFile(path, DataFileImagesOf(icons, size).get()));
        EXPECT_EQ(expected, ReadBytes(path)) << size;

        // Written again from the images read back, as a save keeps unchanged programs' images.
        StoredImages read = ReadDataFile(path);
        ASSERT_TRUE(read.list);
        std::vector<DataFileImage> kept;
        for (int i = 0; i < read.Count(); ++i)
            kept.push_back(read.blank[static_cast<size_t>(i)] ? DataFileImage() : DataFileImage{nullptr, read.list.get(), i});
        ASSERT_TRUE(WriteDataFile(path, DataFileImagesOf(kept, size).get()));
    }
}

TEST_F(DataFileTest, ASaveReplacesTheOldFileWhole) {
    ASSERT_TRUE(WriteDataFile(path, MakeList("iiiiiiiiii", 16).get()));
    ASSERT_TRUE(WriteDataFile(path, MakeList("i", 16).get()));
    StoredImages images = ReadDataFile(path);
    EXPECT_EQ(1, images.Count());
    const Bytes bytes = ReadBytes(path);
    std::optional<imagelist_stream::Layout> layout = imagelist_stream::CheckStream(bytes.data(), bytes.size());
    ASSERT_TRUE(layout);
    EXPECT_EQ(bytes.size(), layout->streamSize);  // no bytes of the longer file are left
}

TEST_F(DataFileTest, DamagedFilesAreRefusedAtTheReadStep) {
    const Bytes valid = ValidFile();
    ExpectRefused(Bytes(), "empty file");
    for (size_t length = 1; length < valid.size(); length += 64)
        ExpectRefused(Bytes(valid.begin(), valid.begin() + length), "truncated at " + std::to_string(length));

    std::mt19937 random(7);
    Bytes noise(valid.size());
    for (uint8_t& b : noise)
        b = static_cast<uint8_t>(random());
    ExpectRefused(noise, "random bytes");

    // The patches that make the platform reader run past its buffers.
    const struct {
        const char* what;
        size_t offset;
        uint16_t value;
    } patches[] = {{"image count", 4, 500},   {"capacity", 6, 4000}, {"image width", 10, 200},
                   {"image height", 12, 200}, {"flags", 18, 0x0018}, {"version", 2, 0x0100}};
    for (const auto& patch : patches) {
        Bytes patched = valid;
        Put16(patched, patch.offset, patch.value);
        ExpectRefused(patched, patch.what);
    }
}

TEST_F(DataFileTest, HugeFilesAreReadOnlyAsFarAsTheirHeaderClaims) {
    // 50 MB of noise: refused from its first bytes.
    Bytes noise(50u * 1024 * 1024, 0x5A);
    ExpectRefused(noise, "50 MB of noise");
    // A valid stream followed by 50 MB: the stream is read, the rest ignored.
    Bytes padded = ValidFile();
    const size_t streamSize = padded.size();
    padded.resize(streamSize + noise.size(), 0x5A);
    WriteBytes(path, padded);
    StoredImages images = ReadDataFile(path);
    EXPECT_EQ(kDataFileReadOk, images.failedStep);
    EXPECT_EQ(3, images.Count());
}

TEST_F(DataFileTest, AFolderInPlaceOfTheFileFailsToOpenAndIsNotReplaced) {
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    StoredImages images = ReadDataFile(path);
    EXPECT_EQ(kDataFileOpen, images.failedStep);
    EXPECT_FALSE(images.list);
    EXPECT_FALSE(WriteDataFile(path, MakeList("i", 16).get()));
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(Exists(path + ".tmp"));
}

TEST_F(DataFileTest, AReadOnlyFileIsReadAndASaveEitherReplacesItWholeOrLeavesItAlone) {
    const Bytes old = ValidFile();
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(3, ReadDataFile(path).Count());
    const bool saved = WriteDataFile(path, MakeList("i", 16).get());
    if (saved)
        EXPECT_EQ(1, ReadDataFile(path).Count());
    else
        EXPECT_EQ(old, ReadBytes(path));
    EXPECT_FALSE(Exists(path + ".tmp"));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(DataFileTest, ASaveThatCannotBeWrittenLeavesNothingBehind) {
    const std::string unreachable = folder.File("no-such-folder\\Kestrovar.dat");
    EXPECT_FALSE(WriteDataFile(unreachable, MakeList("i", 16).get()));
    EXPECT_FALSE(Exists(unreachable + ".tmp"));
    EXPECT_FALSE(WriteDataFile("", MakeList("i", 16).get()));
    EXPECT_FALSE(WriteDataFile(path, nullptr));
    EXPECT_FALSE(Exists(path));
}

TEST_F(DataFileTest, TheDataFolderIsCreatedAndOverlongPathsCountAsMissing) {
    const std::string dataPath = DataFilePathIn(folder.Path());
    EXPECT_EQ(folder.Path() + "\\Kestrovar\\Kestrovar.dat", dataPath);
    EXPECT_TRUE(GetFileAttributesA((folder.Path() + "\\Kestrovar").c_str()) & FILE_ATTRIBUTE_DIRECTORY);

    const std::string deep = folder.Path() + "\\" + std::string(MAX_PATH - folder.Path().size() - 12, 'x');
    EXPECT_EQ("", DataFilePathIn(deep));
    EXPECT_FALSE(Exists(deep + "\\Kestrovar"));

    // The real path lies in the user's application-data folder.
    const std::string real = DataFilePath();
    EXPECT_NE(std::string::npos, real.find("\\Kestrovar\\Kestrovar.dat"));
    EXPECT_LT(real.size(), static_cast<size_t>(MAX_PATH));
}

TEST_F(DataFileTest, TheFailureMessageNamesTheUserAndTheStep) {
    EXPECT_EQ("taro.dataの読込みに失敗しました。 Code = 3", DataFileReadFailureMessage("taro", kDataFileReadList));
}

}  // namespace
