// A launcher button: an owner-drawn push button (a subclassed BUTTON) showing one item's icon
// over a plain or skinned face, with its own tooltip. It never edits the item list: it asks
// the launcher that holds it, through its ButtonHost (the launcher window is its parent).
//
//   kv_button_win.cpp       creation, drawing, pointer and keys, drag and drop rules, tooltip
//   register_launch_win.cpp registering files, the file dialog, launching, opening the folder
#pragma once

#include "framework/window.h"
#include "items/button_host.h"

#include <string>

class CKestrovarSettings;

// The window under the pointer.
HWND WindowUnderCursor();

// How a button's face is drawn: at rest, with the pointer over it, or pressed.
enum class ButtonFace { kResting, kPointed, kPressed };

class CKVButton : public Window {
public:
    CKVButton(CKestrovarSettings& settings, ButtonHost& host) : m_pSettings(&settings), m_host(host) {}
    ~CKVButton() override;

    // Creates the button window as a child of the launcher window.
    bool CreateButton(HWND parent, const RECT& rect, int controlId);

    int Index() const { return m_nIndex; }
    HICON Icon() const { return m_hIcon; }
    void ClearIcon() { m_hIcon = nullptr; }
    // Shows an item (empty texts and no icon: an empty slot). Returns true when the button's
    // picture changes (another icon or icon size); the caller repaints it then.
    bool SetButtonItem(int index, const std::string& command, const std::string& tip, HICON icon, int iconSize);
    // The text the tooltip shows for the button. The tooltip control is made when the pointer
    // first comes to the button; until then this is the text it will start with.
    std::string TooltipText() const;
    // Takes the tooltip off the screen if it shows.
    void HideTooltip();
    // The face its own paint draws with the pointer at `pointer` (its client coordinates).
    ButtonFace FaceFor(POINT pointer) const;
    // Draws the button with `face` at (x, y) of dc, the way its own paint would draw it; the
    // launcher composes its whole picture this way. False when nothing was drawn.
    bool PaintAt(HDC dc, int x, int y, ButtonFace face) const;

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* msg) override;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Registering and launching (register_launch_win.cpp).
    void RegisterFile(const std::string& path);
    void OnDropFiles(HDROP drop);
    void RegisterSystemName(const std::wstring& name);
    void OnRegisterRequest();
    void OnOpenLink();
    // The click rule's one entry point: starts the launch of this button's item with a shell
    // verb (empty: the item's default one).
    void StartLaunch(const std::string& verb = std::string());

private:
    void OnCreate();
    void CreateTooltip();
    void OnMouseMove();
    void OnMiddleButtonUp(WPARAM keys, LPARAM point);
    void DrawItem(const DRAWITEMSTRUCT& draw);
    HDC ComposeOnCanvas(const RECT& client, ButtonFace face) const;
    void DrawSkinBackground(HDC dc, const RECT& client) const;
    void DrawFace(HDC dc, const RECT& client, ButtonFace face) const;
    bool IsShownPressed() const;
    bool IsSkinned() const;
    void ApplyClickRule(HWND under, WPARAM keys);
    void ApplyDropRule(HWND target);
    void SetTooltipText(const std::string& text);

    bool m_bHover = false;
    bool m_bMiddleDown = false;
    HWND m_releasedOver = nullptr;  // not owned: while a left-button release is handled, the window under it
    WPARAM m_releasedKeys = 0;      // and the MK_ flags it carried
    int m_nIndex = -1;
    int m_nIconSize = 16;
    HICON m_hIcon = nullptr;  // not owned: the icon store owns it
    std::string m_strCommand;
    std::string m_strTooltip;  // the text the tooltip control holds
    HWND m_tooltip = nullptr;  // owned popup, destroyed with the button
    bool m_tooltipFailed = false;
    CKestrovarSettings* const m_pSettings;  // not owned, never null
    ButtonHost& m_host;                     // not owned
};
