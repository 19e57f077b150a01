// The theme preview window: creation, its own theme loading and what it paints.
#include "theme/image_wnd.h"

#include <gtest/gtest.h>

#include <memory>

#include "settings/settings_record.h"
#include "support/surface.h"
#include "support/theme_scratch.h"
#include "theme/theme_loader.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 160;
constexpr COLORREF kMagenta = RGB(255, 0, 255);

COLORREF Face() {
    return GetSysColor(COLOR_3DFACE);
}

using kvtest::Surface;

// Reads pixels of a loaded theme bitmap.
class BitmapPixels {
public:
    explicit BitmapPixels(HBITMAP bitmap)
        : size_(BitmapSize(bitmap)), dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_.get(), bitmap)) {}
    ~BitmapPixels() { SelectObject(dc_.get(), old_); }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < size_.cx && y < size_.cy; }
    COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }

private:
    SIZE size_;
    UniqueMemoryDc dc_;
    HGDIOBJ old_;
};

class ImageWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.CopySampleThemes());
        // The design page's sunken frame that the preview lies over.
        frame = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_SUNKEN, 40, 40, kWidth, kHeight, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, frame);
        ASSERT_TRUE(preview.Create(frame, RECT{0, 0, kWidth, kHeight}));
    }
    void TearDown() override {
        preview.DestroyWindow();
        DestroyWindow(frame);
    }

    // What the preview should show at (x, y): the face, the body without its magenta, and the
    // pointed-at button over it without its magenta.
    COLORREF Expected(int x, int y) const {
        BitmapPixels body(preview.BodyBitmap());
        if (!preview.ButtonOnMouseBitmap())
            return Expected(x, y, body, nullptr);
        BitmapPixels button(preview.ButtonOnMouseBitmap());
        return Expected(x, y, body, &button);
    }
    COLORREF Expected(int x, int y, const BitmapPixels& body, const BitmapPixels* button) const {
        COLORREF color = Face();
        const int bx = x - CImageWnd::kBodyOffset;
        const int by = y - CImageWnd::kBodyOffset;
        if (body.Contains(bx, by) && body.At(bx, by) != kMagenta)
            color = body.At(bx, by);
        const int ux = bx - preview.ButtonOriginX();
        const int uy = by - preview.ButtonOriginY();
        if (button && button->Contains(ux, uy) && button->At(ux, uy) != kMagenta)
            color = button->At(ux, uy);
        return color;
    }

    int CountMismatches(const Surface& image) const {
        BitmapPixels body(preview.BodyBitmap());
        std::unique_ptr<BitmapPixels> button;
        if (preview.ButtonOnMouseBitmap())
            button = std::make_unique<BitmapPixels>(preview.ButtonOnMouseBitmap());
        int mismatches = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x)
                mismatches += image.At(x, y) != Expected(x, y, body, button.get());
        }
        return mismatches;
    }

    kvtest::ThemeScratch scratch;
    HWND frame = nullptr;
    CImageWnd preview;
};

TEST_F(ImageWndTest, IsAVisibleChildOfTheFrameWithItsTextAndId) {
    HWND hwnd = preview.hwnd();
    EXPECT_EQ(frame, GetParent(hwnd));
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(1692, GetDlgCtrlID(hwnd));
    EXPECT_EQ("ImageWnd", preview.GetText());
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(kWidth, client.right);
    EXPECT_EQ(kHeight, client.bottom);
}

TEST_F(ImageWndTest, ShowsTheBodyWithThePointedAtButtonAtTheThemesOrigin) {
    preview.SetThemeName("Graphite");
    ASSERT_EQ(1, preview.LoadTheme());
    ASSERT_NE(nullptr, preview.BodyBitmap());
    ASSERT_NE(nullptr, preview.ButtonOnMouseBitmap());
    EXPECT_EQ(8, preview.ButtonOriginX());

    Surface image(kWidth, kHeight);
    preview.PaintTo(image.dc(), RECT{0, 0, kWidth, kHeight});
    EXPECT_EQ(0, CountMismatches(image));
    // Spot checks that the comparison is not vacuous: a rounded corner of the body shows the
    // face, its middle does not, and the button's middle is the button's.
    EXPECT_EQ(Face(), image.At(10, 10));
    EXPECT_NE(Face(), image.At(100, 40));
    BitmapPixels button(preview.ButtonOnMouseBitmap());
    EXPECT_EQ(button.At(12, 12), image.At(10 + 8 + 12, 10 + 8 + 12));
}

TEST_F(ImageWndTest, ThePlainLookAndUnloadableThemesShowOnlyTheFace) {
    scratch.WriteDefinition("BrokenBody", "[Design]\r\nBodyImage=missing.bmp\r\n");
    for (const char* theme : {kPlainThemeName, "BrokenBody"}) {
        SCOPED_TRACE(theme);
        preview.SetThemeName("Graphite");
        preview.LoadTheme();
        preview.SetThemeName(theme);
        preview.LoadTheme();
        EXPECT_EQ(nullptr, preview.BodyBitmap());
        Surface image(kWidth, kHeight);
        preview.PaintTo(image.dc(), RECT{0, 0, kWidth, kHeight});
        for (int y = 0; y < kHeight; y += 7) {
            for (int x = 0; x < kWidth; x += 7)
                ASSERT_EQ(Face(), image.At(x, y)) << x << "," << y;
        }
    }
}

TEST_F(ImageWndTest, AThemeWithoutAPointedAtImageShowsTheBodyAlone) {
    scratch.WriteDefinition("Graphite", "[Design]\r\nBodyImage=body.bmp\r\nButtonImage=button.bmp\r\n");
    preview.SetThemeName("Graphite");
    ASSERT_EQ(1, preview.LoadTheme());
    EXPECT_EQ(nullptr, preview.ButtonOnMouseBitmap());
    Surface image(kWidth, kHeight);
    preview.PaintTo(image.dc(), RECT{0, 0, kWidth, kHeight});
    EXPECT_EQ(0, CountMismatches(image));
}

TEST_F(ImageWndTest, RepaintsOnInvalidation) {
    preview.SetThemeName("Graphite");
    ASSERT_EQ(1, preview.LoadTheme());
    InvalidateRect(preview.hwnd(), nullptr, TRUE);
    UpdateWindow(preview.hwnd());
    HDC dc = GetDC(preview.hwnd());
    const COLORREF onScreen = GetPixel(dc, 100, 40);
    const COLORREF button = GetPixel(dc, 30, 30);
    ReleaseDC(preview.hwnd(), dc);
    EXPECT_EQ(Expected(100, 40), onScreen);
    EXPECT_EQ(Expected(30, 30), button);
}

}  // namespace
