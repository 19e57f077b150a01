// The launcher window: a borderless tool window holding the grid of launcher buttons, one
// page of items at a time. It routes each message to a small handler and keeps the operations
// other parts call; their state lives in the parts it owns. Its own state is the settings
// record, the monitor list, the drawing scale, the binding of the hook library, and its life
// (launcher_life.h: start-up, modal loops, rebuilds, shutdown).
//
// Its methods are grouped by concern, each file in this folder:
//   body_wnd_win.cpp         construction, start-up order, shutdown sequence, modal loops
//   layout_win.cpp           Rebuild, ShowPage, the drawing scale (96-DPI lengths to the
//                            monitor's pixels), monitors
//   placement_win.cpp        ShowAtCursor (laid out again on a monitor of another DPI), Hide, Toggle
//   dispatch_win.cpp         the window procedure, keyboard pre-translation, paging, wheel clicks,
//                            what its buttons ask of it (ButtonHost), DPI changes
//   ignored_windows_win.cpp  IsIgnored
//   icon_cache_win.cpp       GetIcon, LoadIconStore, SaveIconStore over the icon cache
//   hotkeys_win.cpp          RegisterHotKeys
// and the parts it owns, each with its own state:
//   button_grid.h            the buttons, the current page, the drag state
//   painter.h                the backgrounds, transparency, the kept picture of the window
//   icon_cache.h             the icon store, the data file and the data-loaded flag
//   launcher_commands.h      the context menu, its commands and the settings sheet's opening
#pragma once

#include "framework/dialog.h"
#include "framework/handles.h"
#include "items/button_host.h"
#include "launcher/button_grid.h"
#include "launcher/grid_layout.h"
#include "launcher/hook_library.h"
#include "launcher/icon_cache.h"
#include "launcher/launcher_commands.h"
#include "launcher/launcher_life.h"
#include "launcher/navigation.h"
#include "launcher/painter.h"
#include "settings/kestrovar_settings.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CKVButton;

class CKestrovarBodyWnd : public Dialog, private ButtonHost, private GridHost, private CommandHost {
public:
    // Where the hidden launcher lies, off every screen.
    static constexpr int kParkingX = -9999;
    static constexpr int kParkingY = -9999;

    explicit CKestrovarBodyWnd(ProfileStore& profile);
    ~CKestrovarBodyWnd() override;

    CKestrovarSettings& Settings() override { return settings_; }
    int CurrentPage() const { return grid_.CurrentPage(); }
    bool IsDataLoaded() const { return iconCache_.IsLoaded(); }

    // Layout
    void Rebuild(bool initial);
    bool ShowPage(int page);
    void EnumerateMonitors();
    // Size of the launcher window in the current look.
    Size LauncherSize() const;

    // Placement
    // Centred on the wheel click's point, or on the pointer when there is none.
    void ShowAtCursor(std::optional<POINT> clickPoint = std::nullopt);
    void Hide();
    void Toggle(std::optional<POINT> clickPoint = std::nullopt);

    // Ignored windows
    bool IsIgnored(HWND topLevel);

    // Icon store and data file
    HICON GetIcon(const std::string& command);
    void LoadIconStore();
    void SaveIconStore();

    // Hot keys
    void RegisterHotKeys(bool on) override;

    // Dispatch
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* msg) override;
    void PageStep(int step);

    // Writes the settings and the item list now, after a change the user made: a kill or a
    // crash later in the run must not lose it.
    void SaveUserChange() override;
    void FocusButtonUnderCursor() override;
    // Shows the launcher with its top-left corner at (x, y), sized and painted in its look.
    void ShowInPlace(int x, int y) override;

    void RunShutdownSequence();
    // WM_ENDSESSION(FALSE): another program kept the session going; the launcher takes up its
    // work again after the shutdown sequence of the query.
    void ResumeAfterCancelledEnd();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    static constexpr UINT kFullRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;

    // What its buttons ask of the launcher (the same as the private messages of other senders).
    // Calls on its own thread go through these host interfaces; the private messages are for
    // the launch thread, the hook library and other processes.
    int DragSource() const override { return grid_.DragSource(); }
    void SetDragSource(int index) override { grid_.SetDragSource(index); }
    void MoveItemLater(int target) override;
    void PageStepLater(int step) override;
    void HideLater() override;
    void HideNow() override { Hide(); }
    void AddItem(std::unique_ptr<CLaunchItem> item) override;
    HICON IconFor(const std::string& command) override { return GetIcon(command); }

    // What the commands ask of the launcher. A modal loop (a dialog, the context menu, a message
    // box) locks out hot keys and hook messages while it runs; see LauncherLife for the rest.
    HWND Window() const override { return hwnd(); }
    CKVButton* ButtonOf(HWND window) override { return grid_.ButtonAt(grid_.PositionOf(window)); }
    void EndDrag() override { grid_.EndDrag(); }
    void EnterModal() override;
    void LeaveModal() override;
    void NoteIconSize() override { iconCache_.NoteLoadedSize(); }
    void RebuildLook() override { Rebuild(false); }
    void ShowCurrentPage() override { ShowPage(grid_.CurrentPage()); }
    void ApplyWheelClickLock() override { hook_.WheelClickLock(settings_.WheelClickLock); }
    void Quit() override { DestroyWindow(); }

    LRESULT OnHookClick(HWND window, POINT screenPoint);
    LRESULT OnHookDown(HWND window, POINT screenPoint);
    LRESULT OnMoveItem(LPARAM lParam);
    void OnSetDragSource(WPARAM wParam);
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
    // A page's changed buttons (grid positions): redrawn in the kept picture, and on the screen
    // when the launcher is shown.
    void RepaintButtons(const std::vector<int>& positions) override;
    // The kept picture put on the window, which lies with its top-left corner at `place`.
    void PaintShown(POINT cursor, POINT place);
    // Every SetWindowPos of the launcher window goes through here, with one z-order.
    void SetPlacement(int x, int y, int w, int h, UINT flags);
    bool IsParked() const;
    void OnDestroy();
    void ReleaseButtonsAndIcons();
    UniqueIcon appIcon_;
    CKestrovarSettings settings_;
    std::vector<Rect> monitors_;
    LauncherIconCache iconCache_{settings_};
    ButtonGrid grid_{settings_, iconCache_, *this, *this};
    LauncherPainter painter_{*this, settings_, grid_};
    LauncherLife life_;
    WheelClickQualifier clickQualifier_;
    HookLibrary hook_;
    LauncherCommands commands_{*this};
    std::optional<LPARAM> pendingMove_;  // the move MoveItemLater posted, until it is made
    int dpi_ = 0;                        // of the monitor the layout is drawn for; 0: unknown
    int skinFactor_ = 1;                 // the whole factor the skin bitmaps were enlarged by
};
