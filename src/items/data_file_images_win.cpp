// The image list the data file holds, made in strips. Adding icons one at a time with
// ImageList_ReplaceIcon costs over a millisecond each under Wine, nearly all of a save with
// thousands of items, while one ImageList_Add of a strip of images costs about as much as one
// icon. Each icon's colour and mask are read once and copied to every item that shows it. An
// icon of another kind (no alpha channel, another size, monochrome) is added on its own as
// before, so the images are those the one-at-a-time list holds.
#include "items/data_file.h"

#include "framework/dib_canvas.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_map>

namespace {

// Lists are made at their full size; the growth step is only kept in the stream's header.
constexpr int kDataFileImageGrowth = 4;
constexpr int kImagesPerStrip = 256;

// An icon's pixels: 0xAARRGGBB colours and one transparency flag per pixel, rows top-down.
struct IconPicture {
    std::vector<uint32_t> color;
    std::vector<uint8_t> transparent;
};

BITMAPINFO TopDownInfo(int size, WORD bitCount) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitCount;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// Rows of a 1-bit DIB are padded to 32 bits.
size_t MaskDibStride(int width) {
    return static_cast<size_t>((width + 31) / 32 * 4);
}

// The picture of a size x size icon with an alpha channel; none for any other icon.
std::optional<IconPicture> ReadAlphaIcon(HICON icon, int size) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return std::nullopt;
    const UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP shape = {};
    if (!color || !mask || !GetObjectW(color.get(), sizeof(shape), &shape) || shape.bmWidth != size ||
        shape.bmHeight != size || shape.bmBitsPixel != 32)
        return std::nullopt;
    const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    IconPicture picture;
    picture.color.resize(static_cast<size_t>(size) * size);
    BITMAPINFO colorInfo = TopDownInfo(size, 32);
    if (!dc || GetDIBits(dc.get(), color.get(), 0, size, picture.color.data(), &colorInfo, DIB_RGB_COLORS) != size)
        return std::nullopt;
    if (std::none_of(picture.color.begin(), picture.color.end(), [](uint32_t p) { return (p >> 24) != 0; }))
        return std::nullopt;

    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } maskInfo = {TopDownInfo(size, 1).bmiHeader, {}};
    std::vector<uint8_t> maskBits(MaskDibStride(size) * static_cast<size_t>(size));
    if (GetDIBits(dc.get(), mask.get(), 0, size, maskBits.data(), reinterpret_cast<BITMAPINFO*>(&maskInfo),
                  DIB_RGB_COLORS) != size)
        return std::nullopt;
    picture.transparent.resize(picture.color.size());
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const uint8_t byte = maskBits[static_cast<size_t>(y) * MaskDibStride(size) + static_cast<size_t>(x / 8)];
            picture.transparent[static_cast<size_t>(y * size + x)] = (byte >> (7 - x % 8)) & 1;
        }
    }
    return picture;
}

// Whether the images of list can be copied to a data-file list of size as they are: of the same
// size, in 32-bit colour. A copy between lists keeps every byte only when an image's mask row is
// whole bytes (checked under Wine for sizes 8 to 48); other sizes are drawn through an icon.
bool CopiesAsItIs(HIMAGELIST list, int index, int size) {
    if (size % 8 != 0)
        return false;
    int cx = 0, cy = 0;
    IMAGEINFO info = {};
    BITMAP bitmap = {};
    return ImageList_GetIconSize(list, &cx, &cy) && cx == size && cy == size &&
           ImageList_GetImageInfo(list, index, &info) && GetObjectW(info.hbmImage, sizeof(bitmap), &bitmap) &&
           bitmap.bmBitsPixel == 32;
}

// Images gathered side by side, added to the list in one call. A blank place is the placeholder
// of an item without icon: no colour, transparent all over.
class ImageStrip {
public:
    explicit ImageStrip(int size) : size_(size) {}

    bool Full() const { return count_ == kImagesPerStrip; }

    void Put(const IconPicture* picture) {
        pictures_.push_back(picture);
        ++count_;
    }

    // Adds the gathered images to the list and starts an empty strip.
    bool AddTo(HIMAGELIST list) {
        if (count_ == 0)
            return true;
        const int width = size_ * count_;
        uint32_t* pixels = nullptr;
        UniqueBitmap color = CreateTopDownDib(width, size_, &pixels);
        // Monochrome bitmap rows are padded to 16 bits; a set bit is transparent.
        const size_t stride = static_cast<size_t>((width + 15) / 16 * 2);
        std::vector<uint8_t> maskBits(stride * static_cast<size_t>(size_), 0);
        if (!color)
            return false;
        for (int i = 0; i < count_; ++i)
            Draw(i, pixels, width, maskBits, stride);
        const UniqueBitmap mask(CreateBitmap(width, size_, 1, 1, maskBits.data()));
        const bool added = mask && ImageList_Add(list, color.get(), mask.get()) >= 0;
        pictures_.clear();
        count_ = 0;
        return added;
    }

private:
    void Draw(int place, uint32_t* pixels, int width, std::vector<uint8_t>& maskBits, size_t stride) const {
        const IconPicture* picture = pictures_[static_cast<size_t>(place)];
        for (int y = 0; y < size_; ++y) {
            for (int x = 0; x < size_; ++x) {
                const size_t from = static_cast<size_t>(y * size_ + x);
                const int column = place * size_ + x;
                const bool transparent = !picture || picture->transparent[from];
                if (picture)
                    pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(column)] =
                        picture->color[from];
                if (transparent)
                    maskBits[static_cast<size_t>(y) * stride + static_cast<size_t>(column / 8)] |=
                        static_cast<uint8_t>(0x80 >> (column % 8));
            }
        }
    }

    const int size_;
    int count_ = 0;
    std::vector<const IconPicture*> pictures_;  // null for a blank place; owned by the caller
};

}  // namespace

bool AppendBlankImage(HIMAGELIST images) {
    int cx = 0, cy = 0;
    if (!ImageList_GetIconSize(images, &cx, &cy) || cx <= 0 || cx != cy)
        return false;
    ImageStrip strip(cx);
    strip.Put(nullptr);
    return strip.AddTo(images);
}

UniqueImageList DataFileImagesOf(const std::vector<DataFileImage>& images, int iconSize) {
    UniqueImageList list(ImageList_Create(iconSize, iconSize, ILC_COLOR32 | ILC_MASK, static_cast<int>(images.size()),
                                          kDataFileImageGrowth));
    if (!list)
        return UniqueImageList();
    std::unordered_map<HICON, std::optional<IconPicture>> pictures;
    ImageStrip strip(iconSize);
    std::vector<std::pair<int, DataFileImage>> copies;  // images of other lists, and their places
    int placed = 0;
    // Adds the strip, then copies the other lists' images over their placeholders in it.
    auto addStrip = [&] {
        if (!strip.AddTo(list.get()))
            return false;
        for (const auto& [place, image] : copies) {
            if (!ImageList_Copy(list.get(), place, image.list, image.index, ILCF_MOVE))
                return false;
        }
        copies.clear();
        return true;
    };
    for (const DataFileImage& image : images) {
        if (strip.Full() && !addStrip())
            return UniqueImageList();
        if (image.list && CopiesAsItIs(image.list, image.index, iconSize)) {
            copies.emplace_back(placed++, image);
            strip.Put(nullptr);
            continue;
        }
        ++placed;
        if (!image.icon && !image.list) {
            strip.Put(nullptr);
            continue;
        }
        if (image.icon) {
            auto known = pictures.find(image.icon);
            if (known == pictures.end())
                known = pictures.emplace(image.icon, ReadAlphaIcon(image.icon, iconSize)).first;
            if (known->second) {
                strip.Put(&*known->second);
                continue;
            }
        }
        // An image of another kind of list is drawn to this one's, through an icon.
        const UniqueIcon made(image.icon ? nullptr : ImageList_GetIcon(image.list, image.index, ILD_NORMAL));
        HICON icon = image.icon ? image.icon : made.get();
        // Every item keeps its position, or the later items would get the wrong images.
        if (!addStrip())
            return UniqueImageList();
        if ((!icon || ImageList_ReplaceIcon(list.get(), -1, icon) < 0) && !AppendBlankImage(list.get()))
            return UniqueImageList();
    }
    if (!addStrip())
        return UniqueImageList();
    return list;
}

UniqueImageList DataFileImagesOf(const std::vector<HICON>& icons, int iconSize) {
    std::vector<DataFileImage> images;
    for (HICON icon : icons)
        images.push_back(DataFileImage{icon});
    return DataFileImagesOf(images, iconSize);
}
