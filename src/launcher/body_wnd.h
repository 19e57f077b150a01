// The launcher window: a borderless tool window holding the grid of launcher buttons, one
// page of items at a time. It owns the settings record, the buttons, the monitor list, the
// icon store and the binding of the hook library.
//
// Its methods are grouped by concern, each file in this folder:
//   body_wnd_win.cpp         construction, start-up order, shutdown sequence
//   layout_win.cpp           Rebuild, CreateButtons, ShowPage, transparency, background, monitors,
//                            the drawing scale (96-DPI lengths to the monitor's pixels)
//   placement_win.cpp        ShowAtCursor (laid out again on a monitor of another DPI), Hide, Toggle
//   dispatch_win.cpp         the window procedure, keyboard pre-translation, paging, wheel clicks,
//                            what its buttons ask of it (ButtonHost), DPI changes
//   ignored_windows_win.cpp  IsIgnored
//   icon_cache_win.cpp       GetIcon, LoadIconStore, SaveIconStore over the icon cache
//   hotkeys_win.cpp          RegisterHotKeys
// and it owns (each with its own state):
//   icon_cache.h             the icon store, the data file and the data-loaded flag
//   launcher_commands.h      the context menu, its commands and the settings sheet's opening
#pragma once

#include "framework/dialog.h"
#include "framework/handles.h"
#include "items/button_host.h"
#include "launcher/grid_layout.h"
#include "launcher/hook_library.h"
#include "launcher/icon_cache.h"
#include "launcher/launcher_commands.h"
#include "launcher/navigation.h"
#include "settings/kestrovar_settings.h"

#include <memory>
#include <string>
#include <vector>

class CKVButton;

class CKestrovarBodyWnd : public Dialog, private ButtonHost {
public:
    // Where the hidden launcher lies, off every screen.
    static constexpr int kParkingX = -9999;
    static constexpr int kParkingY = -9999;

    explicit CKestrovarBodyWnd(ProfileStore& profile);
    ~CKestrovarBodyWnd() override;

    CKestrovarSettings& Settings() { return settings_; }
    HookLibrary& Hook() { return hook_; }
    int CurrentPage() const { return currentPage_; }
    bool IsDataLoaded() const { return iconCache_.IsLoaded(); }

    // Layout
    void Rebuild(bool initial);
    void CreateButtons();
    bool ShowPage(int page);
    void RepaintButtons(const std::vector<CKVButton*>& buttons);
    void PaintButtonsAtOnce(const std::vector<CKVButton*>& buttons);
    bool PaintWholeWindowAtOnce(POINT cursor);
    void ApplyTransparency();
    void PaintPlainBackground();
    void PaintPlainBackground(HDC target);
    // WM_ERASEBKGND: the body bitmap in the skin look, the plain background otherwise.
    void PaintBackground(HDC target);
    void EnumerateMonitors();
    // Size of the launcher window in the current look.
    Size LauncherSize() const;
    // Grid position (0 to Col x Row - 1) of a launcher button window, -1 for any other window.
    int PositionOf(HWND window) const;
    CKVButton* ButtonAt(int position) const;

    // Placement
    void ShowAtCursor();
    void Hide();
    void Toggle();

    // Ignored windows
    bool IsIgnored(HWND topLevel);

    // Icon store and data file
    HICON GetIcon(const std::string& command);
    void LoadIconStore();
    void SaveIconStore();

    // Hot keys
    void RegisterHotKeys(bool on);

    // Dispatch
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* msg) override;
    void PageStep(int step);

    // What the commands ask of the launcher.
    LauncherIconCache& IconCache() { return iconCache_; }
    // Writes the settings and the item list now, after a change the user made: a kill or a
    // crash later in the run must not lose it.
    void SaveUserChange();
    void FocusButtonUnderCursor();
    void EndDrag() { dragSource_ = -1; }
    // Shows the launcher with its top-left corner at (x, y), sized and painted in its look.
    void ShowInPlace(int x, int y);

    void RunShutdownSequence();
    // WM_ENDSESSION(FALSE): another program kept the session going; the launcher takes up its
    // work again after the shutdown sequence of the query.
    void ResumeAfterCancelledEnd();

    // A modal loop run by the launcher or one of its buttons (a dialog, the context menu, a
    // message box). While one runs, hot keys and hook messages are locked out, a rebuild waits
    // until the outermost loop has ended, and the end-session pass keeps the buttons.
    class ModalScope {
    public:
        explicit ModalScope(CKestrovarBodyWnd& launcher);
        ~ModalScope();
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;

    private:
        CKestrovarBodyWnd& launcher_;
    };

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    // What its buttons ask of the launcher (the same as the private messages of other senders).
    int DragSource() const override { return dragSource_; }
    void SetDragSource(int index) override { dragSource_ = index; }
    void MoveItemLater(int target) override;
    void PageStepLater(int step) override;
    void HideLater() override;
    void HideNow() override { Hide(); }
    void AddItem(std::unique_ptr<CLaunchItem> item) override;
    HICON IconFor(const std::string& command) override { return GetIcon(command); }

    LRESULT OnHookClick(HWND window, POINT screenPoint);
    LRESULT OnHookDown(HWND window, POINT screenPoint);
    LRESULT OnMoveItem(LPARAM lParam);
    void OnRefresh();
    void OnDpiChanged(int dpi);
    bool OnArrowKey(ArrowKey arrow, MSG* msg);
    void OnHotKey(WPARAM id);
    void SendKeyToButtonUnderCursor(MSG* msg);
    void DestroyButtons();
    void RebuildNow(bool initial);
    DrawScale Scale() const;
    void LayOutSkin(bool initial);
    void LayOutPlain();
    HICON IconForShownItem(const CLaunchItem& item);
    void NoteOffScreenPainting();
    // Every SetWindowPos of the launcher window goes through here, with one z-order.
    void SetPlacement(int x, int y, int w, int h, UINT flags);
    bool IsParked() const;
    void OnDestroy();
    void ReleaseButtonsAndIcons();
    void LeaveModal();
    UniqueIcon appIcon_;
    CKestrovarSettings settings_;
    std::vector<std::unique_ptr<CKVButton>> buttons_;
    std::vector<Rect> monitors_;
    LauncherIconCache iconCache_{settings_};
    int currentPage_ = 0;
    int dragSource_ = -1;
    bool initialising_ = false;
    WheelClickQualifier clickQualifier_;
    HookLibrary hook_;
    bool shutdownDone_ = false;
    int modalDepth_ = 0;
    bool rebuilding_ = false;
    bool rebuildPending_ = false;     // asked for while a modal loop or a rebuild ran
    bool releasePending_ = false;     // the end-session pass left the buttons to the loop's end
    bool offScreenPaintKept_ = true;  // see NoteOffScreenPainting
    LauncherCommands commands_{*this};
    int dpi_ = 0;         // of the monitor the layout is drawn for; 0: unknown
    int skinFactor_ = 1;  // the whole factor the skin bitmaps were enlarged by
};
