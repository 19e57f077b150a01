#include "launcher/button_grid.h"

#include "items/kv_button.h"
#include "items/messages.h"
#include "launcher/navigation.h"
#include "settings/path_probe.h"

#include <climits>

namespace {

// The first record of each index in [first, first + count), found in one walk of the list.
std::vector<const CLaunchItem*> RecordsOfRange(const ItemList& items, long long first, int count) {
    std::vector<const CLaunchItem*> found(static_cast<size_t>(count), nullptr);
    for (const auto& record : items.records()) {
        const long long offset = record->nIndex - first;
        if (offset >= 0 && offset < count && !found[static_cast<size_t>(offset)])
            found[static_cast<size_t>(offset)] = record.get();
    }
    return found;
}

}  // namespace

ButtonGrid::ButtonGrid(CKestrovarSettings& settings, LauncherIconCache& icons, ButtonHost& buttonHost, GridHost& host)
    : settings_(settings), icons_(icons), buttonHost_(buttonHost), host_(host) {}

ButtonGrid::~ButtonGrid() {
    Destroy();
}

void ButtonGrid::Create(HWND parent, DrawScale scale) {
    const int cols = GridColumns(settings_.Col);
    const int rows = GridRows(settings_.Row);
    const Point origin{settings_.ButtonOriginX, settings_.ButtonOriginY};
    int n = 0;
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            const Rect r = scale.Of(
                ButtonRect(col, row, origin, settings_.ButtonSpace, settings_.ButtonWidth, settings_.ButtonHeight));
            auto button = std::make_unique<CKVButton>(settings_, buttonHost_);
            const RECT rect = {r.left, r.top, r.right, r.bottom};
            // Kept even when its window could not be made: list position n is control id 1024 + n.
            button->CreateButton(parent, rect, kFirstButtonId + n);
            buttons_.push_back(std::move(button));
            ++n;
        }
    }
}

void ButtonGrid::Destroy() {
    for (auto& button : buttons_)
        button->DestroyWindow();
    buttons_.clear();
}

CKVButton* ButtonGrid::ButtonAt(int position) const {
    if (position < 0 || static_cast<size_t>(position) >= buttons_.size())
        return nullptr;
    CKVButton* button = buttons_[static_cast<size_t>(position)].get();
    return button->hwnd() ? button : nullptr;
}

int ButtonGrid::PositionOf(HWND window) const {
    for (size_t i = 0; i < buttons_.size(); ++i) {
        if (window && buttons_[i]->hwnd() == window)
            return static_cast<int>(i);
    }
    return -1;
}

bool ButtonGrid::ShowsIndex(int index) const {
    for (const auto& button : buttons_) {
        if (button->hwnd() && button->Index() == index)
            return true;
    }
    return false;
}

// The icon of a used item, or nullptr after clearing an item whose program gives none. An item
// whose drive or share is away keeps its slot with the default icon; the shell is asked again
// at the next page display.
HICON ButtonGrid::IconForShownItem(const CLaunchItem& item) {
    if (item.strCommand.empty())
        return nullptr;
    if (HICON icon = icons_.GetIcon(item.strCommand))
        return icon;
    if (IsVolumeUnreachable(item.strCommand))
        return icons_.DefaultItemIcon();
    settings_.Items.ClearItem(item.nIndex);
    return nullptr;
}

// Every button whose picture changes is repainted and the last one keeps the keyboard focus,
// as if the focus had passed over every button in turn.
bool ButtonGrid::ShowPage(int page) {
    const int perPage = GridButtonCount(settings_.Col, settings_.Row);
    const long long first = static_cast<long long>(perPage) * page;
    if (page < 0 || first + 2LL * perPage > INT_MAX)
        return false;
    const std::vector<const CLaunchItem*> records = RecordsOfRange(settings_.Items, first, perPage);
    const int iconSize = icons_.IconSize();
    bool anyShown = false;
    CKVButton* lastButton = nullptr;
    std::vector<int> changed;
    for (int i = 0; i < perPage; ++i) {
        CKVButton* button = ButtonAt(i);
        if (!button)
            continue;
        const int index = static_cast<int>(first + i);
        const CLaunchItem* item = records[static_cast<size_t>(i)];
        HICON icon = item ? IconForShownItem(*item) : nullptr;
        bool pictureChanged = false;
        if (icon) {
            pictureChanged = button->SetButtonItem(index, item->strCommand, item->strTip, icon, iconSize);
            anyShown = true;
        } else {
            pictureChanged = button->SetButtonItem(index, std::string(), std::string(), nullptr, iconSize);
        }
        // Repainting hundreds of unchanged buttons (empty slots) would cost far more than the page.
        if (pictureChanged)
            changed.push_back(i);
        lastButton = button;
    }
    if (!changed.empty())
        host_.RepaintButtons(changed);
    if (lastButton)
        SetFocus(lastButton->hwnd());
    if (anyShown)
        return true;
    if (page == 0)
        return false;
    // An empty page right after a page with items may still be shown (one step past the end).
    for (const CLaunchItem* item : RecordsOfRange(settings_.Items, first - perPage, perPage)) {
        if (item && IconForShownItem(*item))
            return true;
    }
    return false;
}

void ButtonGrid::ForgetPageUnlessKept() {
    if (!settings_.MemoryPage)
        currentPage_ = 0;
}

void ButtonGrid::StepPage(int direction) {
    if (direction == kPageForward) {
        ++currentPage_;
        if (!ShowPage(currentPage_)) {
            // Refused: the buttons must carry the indexes of the page that stays, or a file
            // dropped on them would land on the refused page, out of sight.
            --currentPage_;
            ShowPage(currentPage_);
        }
    } else if (currentPage_ > 0) {
        --currentPage_;
        ShowPage(currentPage_);
    }
}
