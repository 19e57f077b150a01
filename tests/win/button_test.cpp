// The launcher button on a real window under Wine: its window, tooltip texts, drawing in the
// plain and the skinned look, and what it asks of the launcher that holds it.
#include "items/kv_button.h"

#include "framework/dib_canvas.h"
#include "framework/handles.h"
#include "items/messages.h"
#include "support/button_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr char kTestCompany[] = "KvButtonTestCompany";
constexpr char kDropTip[] = "アイテムをドロップして下さい。";
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr int kSize = kvtest::kButtonSize;
constexpr COLORREF kIconColor = RGB(200, 0, 0);

// Stands in for the launcher: the buttons' parent window and their host, which keeps what the
// buttons ask of it.
class FakeLauncher : public Window, public ButtonHost {
public:
    int DragSource() const override { return dragSource; }
    void SetDragSource(int index) override { dragSource = index; }
    void MoveItemLater(int target) override {
        calls.push_back("move " + std::to_string(dragSource) + " to " + std::to_string(target));
    }
    void PageStepLater(int step) override { calls.push_back("page step " + std::to_string(step)); }
    void HideLater() override { calls.push_back("hide later"); }
    void HideNow() override { calls.push_back("hide now"); }
    void AddItem(std::unique_ptr<CLaunchItem>) override { calls.push_back("add item"); }
    HICON IconFor(const std::string&) override { return nullptr; }

    int dragSource = -1;
    std::vector<std::string> calls;
};

// A 32-bit top-down DIB filled with one colour.
HBITMAP SolidBitmap(int w, int h, COLORREF color) {
    uint32_t* pixels = nullptr;
    UniqueBitmap bitmap = CreateTopDownDib(w, h, &pixels);
    if (pixels)
        std::fill(pixels, pixels + w * h, DibPixel(color));
    return bitmap.release();
}

// An opaque icon of one colour.
HICON SolidIcon(int size, COLORREF color) {
    UniqueBitmap colorBits(SolidBitmap(size, size, color));
    UniqueBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
    {
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        SelectedObject selected(dc.get(), mask.get());
        PatBlt(dc.get(), 0, 0, size, size, BLACKNESS);
    }
    ICONINFO info = {TRUE, 0, 0, mask.get(), colorBits.get()};
    return CreateIconIndirect(&info);
}

void SetPixelOf(HBITMAP bitmap, int x, int y, COLORREF color) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), bitmap);
    SetPixel(dc.get(), x, y, color);
}

class ButtonTest : public kvtest::ButtonFixture<FakeLauncher> {
protected:
    ButtonTest() : ButtonFixture(kTestCompany, "KvFakeLauncher", WS_EX_TOPMOST) {}

    // The pointer's first message to a button makes its tooltip control.
    void PointerComesTo(int i) {
        MSG msg = {Button(i).hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2)};
        Button(i).PreTranslateMessage(&msg);
    }

    // Paints button i now and reads one of its pixels back from the screen surface.
    COLORREF PaintedPixel(int i, int x, int y) {
        RedrawWindow(Button(i).hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        WindowDc dc(Button(i).hwnd());
        return GetPixel(dc.get(), x, y);
    }

    void MoveCursorOver(int i) {
        RECT r;
        GetWindowRect(Button(i).hwnd(), &r);
        kvtest::MoveCursor((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
};

TEST_F(ButtonTest, IsAnOwnerDrawnChildThatAcceptsFilesAndCarriesTheButtonText) {
    HWND h = Button(1).hwnd();
    char text[64] = {};
    GetWindowTextA(h, text, sizeof(text));
    EXPECT_STREQ(kButtonWindowText, text);
    EXPECT_EQ(0x5000000Bu, static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE)) & 0xFFFF000Fu);
    EXPECT_TRUE(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_EQ(kFirstButtonId + 1, GetDlgCtrlID(h));
    EXPECT_EQ(kDropTip, Button(1).TooltipText());
}

TEST_F(ButtonTest, TooltipTextFollowsTheItem) {
    CKVButton& b = Button(0);
    b.SetButtonItem(5, "C:\\windows\\notepad.exe", "メモ帳", nullptr, 16);
    EXPECT_EQ("メモ帳", b.TooltipText());
    PointerComesTo(0);
    EXPECT_EQ("メモ帳", b.TooltipText());  // the control starts with the text set before it existed
    b.SetButtonItem(5, "C:\\windows\\notepad.exe", "NO TOOLTIP TEXT", nullptr, 16);
    EXPECT_EQ("", b.TooltipText());
    b.SetButtonItem(5, "", "only a tip", nullptr, 16);
    EXPECT_EQ("only a tip", b.TooltipText());
    b.SetButtonItem(5, "", "", nullptr, 16);
    EXPECT_EQ(kDropTip, b.TooltipText());
}

TEST_F(ButtonTest, ReportsWhetherItsPictureChanges) {
    UniqueIcon icon(SolidIcon(16, kIconColor));
    CKVButton& b = Button(0);
    EXPECT_FALSE(b.SetButtonItem(0, "", "", nullptr, 16));
    EXPECT_TRUE(b.SetButtonItem(12, "a.exe", "a", icon.get(), 16));
    EXPECT_FALSE(b.SetButtonItem(24, "b.exe", "b", icon.get(), 16));
    EXPECT_TRUE(b.SetButtonItem(24, "b.exe", "b", icon.get(), 32));
    EXPECT_TRUE(b.SetButtonItem(36, "", "", nullptr, 32));
}

TEST_F(ButtonTest, ReportsItsItemIndex) {
    Button(1).SetButtonItem(4711, "", "", nullptr, 16);
    EXPECT_EQ(4711, SendMessageA(Button(1).hwnd(), KVM_GETINDEX, 0, 0));
}

// A named CALLBACK function: a lambda converts only to a default-convention pointer, which is
// not the stdcall an enumeration callback is on 32 bits.
BOOL CALLBACK CountTooltip(HWND w, LPARAM param) {
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof(cls));
    if (lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0)
        ++*reinterpret_cast<int*>(param);
    return TRUE;
}

TEST_F(ButtonTest, DestroyingTheButtonDestroysItsTooltip) {
    auto countTooltips = [] {
        int count = 0;
        EnumThreadWindows(GetCurrentThreadId(), CountTooltip, reinterpret_cast<LPARAM>(&count));
        return count;
    };
    const int none = countTooltips();
    PointerComesTo(1);
    EXPECT_EQ(none + 1, countTooltips());
    buttons_.pop_back();
    EXPECT_EQ(none, countTooltips());
}

TEST_F(ButtonTest, PlainFaceIsButtonFaceWithTheIconCentred) {
    kvtest::MoveCursor(0, 0);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PaintedPixel(0, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PaintedPixel(0, 11, 11));

    UniqueIcon icon(SolidIcon(16, kIconColor));
    Button(0).SetButtonItem(0, "x", "x", icon.get(), 16);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PaintedPixel(0, 2, 2));
    EXPECT_EQ(kIconColor, PaintedPixel(0, 3, 3));
    EXPECT_EQ(kIconColor, PaintedPixel(0, 18, 18));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PaintedPixel(0, 19, 19));
}

TEST_F(ButtonTest, AnIconLargerThanTheButtonIsCentredAndClipped) {
    kvtest::MoveCursor(0, 0);
    // 48 x 48 on 22 x 22: drawn from (-13, -13), so the icon covers the whole button.
    UniqueIcon icon(SolidIcon(48, kIconColor));
    Button(0).SetButtonItem(0, "x", "x", icon.get(), 48);
    EXPECT_EQ(kIconColor, PaintedPixel(0, 0, 0));
    EXPECT_EQ(kIconColor, PaintedPixel(0, kSize - 1, kSize - 1));
}

TEST_F(ButtonTest, PointedAtButtonHasAShadowFrame) {
    MoveCursorOver(1);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), PaintedPixel(1, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PaintedPixel(1, 5, 5));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PaintedPixel(0, 0, 0));
}

TEST_F(ButtonTest, SkinnedButtonShowsTheBodyThroughMagentaPixelsOfItsImage) {
    kvtest::MoveCursor(0, 0);
    const COLORREF bodyColor = RGB(0, 128, 0);
    const COLORREF imageColor = RGB(0, 0, 200);
    HBITMAP body = SolidBitmap(200, 100, bodyColor);
    // The body under the second button (x 28..49) is marked so that the offset can be seen.
    SetPixelOf(body, 28 + 2, 3 + 2, RGB(255, 255, 0));
    HBITMAP normal = SolidBitmap(kSize, kSize, imageColor);
    for (int y = 0; y < kSize / 2; ++y) {
        for (int x = 0; x < kSize; ++x)
            SetPixelOf(normal, x, y, kMagenta);
    }
    settings_->SkinMode = 1;
    settings_->Skin.Body.reset(body);
    settings_->Skin.Button.reset(normal);

    EXPECT_EQ(bodyColor, PaintedPixel(1, 0, 0));
    EXPECT_EQ(RGB(255, 255, 0), PaintedPixel(1, 2, 2));
    EXPECT_EQ(imageColor, PaintedPixel(1, 5, kSize - 2));

    // No image for the pointed-at state: the plain shadow frame is drawn over the body.
    MoveCursorOver(1);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), PaintedPixel(1, 0, 0));
    EXPECT_EQ(RGB(255, 255, 0), PaintedPixel(1, 2, 2));
}

TEST_F(ButtonTest, MiddleClickHidesTheLauncherWhenItDoesNotSelect) {
    settings_->WheelClickSelect = 0;
    settings_->HideOption = 1;
    SendMessageA(Button(0).hwnd(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(5, 5));
    SendMessageA(Button(0).hwnd(), WM_MBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(std::vector<std::string>{"hide later"}, launcher_.calls);

    // A release without a press on this button does nothing.
    launcher_.calls.clear();
    SendMessageA(Button(0).hwnd(), WM_MBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(launcher_.calls.empty());
}

TEST_F(ButtonTest, WithWheelClickSelectAMiddlePressUnderThePointerShowsPressed) {
    settings_->WheelClickSelect = 1;
    settings_->HideOption = 0;
    MoveCursorOver(1);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PaintedPixel(1, 11, 11));
    SendMessageA(Button(1).hwnd(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(11, 11));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), PaintedPixel(1, 11, 11));
    SendMessageA(Button(1).hwnd(), WM_MBUTTONUP, 0, MAKELPARAM(11, 11));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PaintedPixel(1, 11, 11));
}

TEST_F(ButtonTest, WheelTurnsAskTheLauncherForAPageStep) {
    SendMessageA(Button(0).hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    SendMessageA(Button(0).hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ((std::vector<std::string>{"page step 1", "page step 2"}), launcher_.calls);
}

TEST_F(ButtonTest, ReleasingADragOverAnotherButtonAsksToMoveTheItem) {
    Button(0).SetButtonItem(3, "", "", nullptr, 16);
    Button(1).SetButtonItem(7, "", "", nullptr, 16);
    SendMessageA(Button(0).hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ReleaseCapture();
    EXPECT_EQ(3, launcher_.dragSource);

    // The release point decides, not where the pointer has gone by the time the release is handled.
    MoveCursorOver(0);
    launcher_.calls.clear();
    SendMessageA(Button(0).hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(30, 5));
    EXPECT_EQ(std::vector<std::string>{"move 3 to 7"}, launcher_.calls);

    // Released over the dragged button itself: nothing to move.
    MoveCursorOver(1);
    launcher_.calls.clear();
    SendMessageA(Button(0).hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(launcher_.calls.empty());
}

}  // namespace
