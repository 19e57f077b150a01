// The text entry dialog run modally under Wine and driven by keyboard messages from a timer
// inside its modal loop.
#include "items/text_dialog.h"

#include "res/resource.h"
#include "text/unicode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

namespace {

constexpr char kTitle[] = "ﾂｰﾙﾁｯﾌﾟﾃｷｽﾄの編集";

// What the timer does once the dialog is up; it sees the dialog window.
std::function<void(HWND)> g_drive;
HWND g_seenFocus = nullptr;
std::string g_seenCaption;

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof(cls));
    if (strcmp(cls, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;
    KillTimer(nullptr, id);
    g_seenFocus = GetFocus();
    wchar_t caption[128] = {};
    GetWindowTextW(dialog, caption, ARRAYSIZE(caption));
    g_seenCaption = Utf8(caption);
    g_drive(dialog);
}

// Key press as the keyboard delivers it: to the focused control, through the dialog loop.
void PostKey(UINT key) {
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

void PostText(HWND edit, const std::string& text) {
    for (wchar_t c : Wide(text))
        PostMessageW(edit, WM_CHAR, c, 1);
}

INT_PTR RunDialog(CTextDialog& dialog, std::function<void(HWND)> drive) {
    g_drive = std::move(drive);
    g_seenFocus = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &OnTimer);
    const INT_PTR result = dialog.DoModal();
    KillTimer(nullptr, timer);
    return result;
}

// Runs the dialog over `text` with its edit box focused: `edit` works on the box, then `key`
// closes the dialog.
INT_PTR RunInEdit(CTextDialog& dialog, const std::string& text, UINT key, std::function<void(HWND)> edit) {
    dialog.m_strText = text;
    return RunDialog(dialog, [=](HWND d) {
        HWND box = GetDlgItem(d, IDC_TEXT_EDIT);
        SetFocus(box);
        edit(box);
        PostKey(key);
    });
}

}  // namespace

TEST(TextDialog, EnterAtOnceConfirmsTheInitialTextWithOkFocused) {
    CTextDialog dialog;
    dialog.m_strTitle = kTitle;
    dialog.m_strText = "メモ帳";
    HWND ok = nullptr;
    EXPECT_EQ(IDOK, RunDialog(dialog, [&](HWND d) {
                  ok = GetDlgItem(d, IDOK);
                  PostKey(VK_RETURN);
              }));
    EXPECT_EQ(ok, g_seenFocus);
    EXPECT_EQ(kTitle, g_seenCaption);
    EXPECT_EQ("メモ帳", dialog.m_strText);
}

TEST(TextDialog, EmptiedBoxReturnsTheEmptyText) {
    CTextDialog dialog;
    EXPECT_EQ(IDOK, RunInEdit(dialog, "C:\\windows\\notepad.exe", VK_RETURN, [](HWND edit) {
                  SendMessageA(edit, EM_SETSEL, 0, -1);
                  PostKey(VK_DELETE);
              }));
    EXPECT_EQ("", dialog.m_strText);
}

TEST(TextDialog, LongTypedTextScrollsAndComesBackWhole) {
    std::string typed;
    for (int i = 0; i < 40; ++i)
        typed += "ｱ0123456789";  // far wider than the box
    CTextDialog dialog;
    EXPECT_EQ(IDOK, RunInEdit(dialog, "start:", VK_RETURN, [&](HWND edit) {
                  SendMessageA(edit, EM_SETSEL, 6, 6);
                  PostText(edit, typed);
              }));
    EXPECT_EQ("start:" + typed, dialog.m_strText);
}

TEST(TextDialog, EscapeCancelsAndKeepsTheInput) {
    CTextDialog dialog;
    EXPECT_EQ(IDCANCEL, RunInEdit(dialog, "keep", VK_ESCAPE, [](HWND edit) { PostText(edit, "changed"); }));
    EXPECT_EQ("keep", dialog.m_strText);
}
