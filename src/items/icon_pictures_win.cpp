#include "items/icon_pictures.h"

#include "framework/dib_canvas.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int kPicturesPerSheet = 64;
// Above this many bytes of pictures, all are dropped and the drawing starts afresh: a bound on
// memory whatever the number of items.
constexpr size_t kMaxPictureBytes = 4u << 20;
constexpr int kMaxSize = 256;
constexpr int kBytesPerPixel = 4;

struct Slot {
    int sheet = 0;
    int row = 0;  // kDrawnDirectly: an icon no picture can stand for
};

// Icons that invert the screen under them (a mask bit and a colour bit both set) have no
// picture; they are drawn with DrawIconEx every time.
constexpr int kDrawnDirectly = -1;

class PictureCache {
public:
    bool Draw(HDC dc, int x, int y, HICON icon, int size) {
        if (size <= 0 || size > kMaxSize)
            return false;
        const Slot* slot = Find(icon, size);
        if (!slot)
            slot = Add(icon, size);
        if (!slot || slot->row == kDrawnDirectly)
            return false;
        const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        return GdiAlphaBlend(dc, x, y, size, size, sheets_[slot->sheet]->dc(), 0, slot->row * size, size, size,
                             blend) != FALSE;
    }

    void Clear() {
        slots_.clear();
        sheets_.clear();
        used_ = 0;
        bytes_ = 0;
        size_ = 0;
    }

    size_t Count() const { return slots_.size(); }

private:
    const Slot* Find(HICON icon, int size) const {
        auto found = slots_.find({icon, size});
        return found == slots_.end() ? nullptr : &found->second;
    }

    // Sheets hold pictures of one size; a new size (the user changed the icon size) starts over.
    const Slot* Add(HICON icon, int size) {
        const size_t pictureBytes = static_cast<size_t>(size) * size * kBytesPerPixel;
        if (size != size_ || bytes_ + pictureBytes > kMaxPictureBytes)
            Clear();
        if (!PrepareScratch(size))
            return nullptr;
        if (used_ == static_cast<int>(sheets_.size()) * kPicturesPerSheet && !AddSheet(size))
            return nullptr;
        Slot slot = {used_ / kPicturesPerSheet, used_ % kPicturesPerSheet};
        switch (Render(icon, size, slot)) {
            case Rendered::kFailed:
                return nullptr;
            case Rendered::kInverts:
                slot.row = kDrawnDirectly;
                return &slots_.emplace(std::make_pair(icon, size), slot).first->second;
            case Rendered::kDone:
                break;
        }
        ++used_;
        bytes_ += pictureBytes;
        return &slots_.emplace(std::make_pair(icon, size), slot).first->second;
    }

    bool PrepareScratch(int size) {
        if (size == size_ && black_ && white_)
            return true;
        size_ = size;
        return black_.Create(size, size) && white_.Create(size, size);
    }

    bool AddSheet(int size) {
        auto sheet = std::make_unique<DibCanvas>();
        if (!sheet->Create(size, size * kPicturesPerSheet))
            return false;
        sheets_.push_back(std::move(sheet));
        return true;
    }

    // The icon drawn once on black and once on white gives each pixel's coverage (how much of
    // the white still shows) and its premultiplied colour (what the black shows).
    enum class Rendered { kDone, kInverts, kFailed };

    Rendered Render(HICON icon, int size, const Slot& slot) {
        const size_t count = static_cast<size_t>(size) * size;
        std::fill(black_.pixels(), black_.pixels() + count, 0x00000000u);
        std::fill(white_.pixels(), white_.pixels() + count, 0x00FFFFFFu);
        if (!DrawIconEx(black_.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL) ||
            !DrawIconEx(white_.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL))
            return Rendered::kFailed;
        const uint32_t* onBlack = black_.pixels();
        const uint32_t* onWhite = white_.pixels();
        for (size_t i = 0; i < count; ++i) {
            if (Inverts(onBlack[i], onWhite[i]))
                return Rendered::kInverts;
        }
        uint32_t* out = sheets_[slot.sheet]->pixels() + static_cast<size_t>(slot.row) * count;
        for (size_t i = 0; i < count; ++i)
            out[i] = PremultipliedPixel(onBlack[i], onWhite[i]);
        return Rendered::kDone;
    }

    // Over white a blended icon is never darker than over black; an inverting one is.
    static bool Inverts(uint32_t onBlack, uint32_t onWhite) {
        for (int shift = 0; shift < 24; shift += 8) {
            if (((onWhite >> shift) & 0xFF) < ((onBlack >> shift) & 0xFF))
                return true;
        }
        return false;
    }

    static uint32_t PremultipliedPixel(uint32_t onBlack, uint32_t onWhite) {
        int shown = 0;  // the most any channel of the white background still shows
        for (int shift = 0; shift < 24; shift += 8) {
            const int b = static_cast<int>((onBlack >> shift) & 0xFF);
            const int w = static_cast<int>((onWhite >> shift) & 0xFF);
            shown = std::max(shown, w - b);
        }
        const uint32_t alpha = static_cast<uint32_t>(255 - std::min(shown, 255));
        uint32_t pixel = alpha << 24;
        for (int shift = 0; shift < 24; shift += 8)
            pixel |= std::min((onBlack >> shift) & 0xFF, alpha) << shift;
        return pixel;
    }

    std::map<std::pair<HICON, int>, Slot> slots_;
    std::vector<std::unique_ptr<DibCanvas>> sheets_;
    DibCanvas black_, white_;  // the icon drawn on each background, of the sheets' size
    int used_ = 0;
    int size_ = 0;
    size_t bytes_ = 0;
};

PictureCache& Cache() {
    static PictureCache cache;
    return cache;
}

}  // namespace

void DrawIconPicture(HDC dc, int x, int y, HICON icon, int size) {
    if (!icon)
        return;
    if (!Cache().Draw(dc, x, y, icon, size))
        DrawIconEx(dc, x, y, icon, size, size, 0, nullptr, DI_NORMAL);
}

void ForgetIconPictures() {
    Cache().Clear();
}

size_t IconPictureCount() {
    return Cache().Count();
}
