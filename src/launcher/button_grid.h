// The launcher's button grid and its pages. It owns the buttons (made at every rebuild, at the
// grid position that is also their control id less 1024), the page they show, and the drag
// state: the item index a drag or a held space key started from. Putting a page on the buttons
// takes each item's icon from the icon cache; the grid positions of the buttons whose picture
// changed go to its GridHost, the launcher, which knows whether the launcher is on the screen.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "launcher/grid_layout.h"
#include "launcher/icon_cache.h"
#include "settings/kestrovar_settings.h"

class ButtonHost;
class CKVButton;
struct CLaunchItem;

// What the grid asks of the launcher that holds it, on the launcher's thread.
class GridHost {
public:
    // The buttons at these grid positions show another picture.
    virtual void RepaintButtons(const std::vector<int>& positions) = 0;

protected:
    ~GridHost() = default;
};

class ButtonGrid {
public:
    ButtonGrid(CKestrovarSettings& settings, LauncherIconCache& icons, ButtonHost& buttonHost, GridHost& host);
    ~ButtonGrid();
    ButtonGrid(const ButtonGrid&) = delete;
    ButtonGrid& operator=(const ButtonGrid&) = delete;

    // Makes Col x Row buttons on parent, laid out at scale.
    void Create(HWND parent, DrawScale scale);
    void Destroy();
    const std::vector<std::unique_ptr<CKVButton>>& Buttons() const { return buttons_; }
    // The button at a grid position (0 to Col x Row - 1); nullptr when there is none or its
    // window could not be made.
    CKVButton* ButtonAt(int position) const;
    // Grid position of a button window, -1 for any other window.
    int PositionOf(HWND window) const;

    // Puts page p on the buttons; false when it may not be shown (past the last page that
    // holds items, more than one step).
    bool ShowPage(int page);
    int CurrentPage() const { return currentPage_; }
    void SetCurrentPage(int page) { currentPage_ = page; }
    // Back to the first page, unless the settings keep the page between shows.
    void ForgetPageUnlessKept();
    // One page forward (kPageForward) or back; a forward step to a page that may not be shown
    // stays where it is.
    void StepPage(int direction);

    // Whether a button of the page shows the item index (used or empty).
    bool ShowsIndex(int index) const;
    int DragSource() const { return dragSource_; }
    void SetDragSource(int index) { dragSource_ = index; }
    void EndDrag() { dragSource_ = -1; }

private:
    HICON IconForShownItem(const CLaunchItem& item);

    CKestrovarSettings& settings_;
    LauncherIconCache& icons_;
    ButtonHost& buttonHost_;
    GridHost& host_;
    std::vector<std::unique_ptr<CKVButton>> buttons_;
    int currentPage_ = 0;
    int dragSource_ = -1;
};
