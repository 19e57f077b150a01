// What a launcher button asks of the launcher that holds it. Every call comes on the launcher's
// thread while the button handles a message of its own; what would change the buttons under
// the caller (a move, a page step, a hide) is carried out once that message has been handled.
// The launch runs on a worker thread and reaches the launcher by window messages instead.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

struct CLaunchItem;

class ButtonHost {
public:
    // The item index a drag (or a held space key) started from; -1 for none.
    virtual int DragSource() const = 0;
    virtual void SetDragSource(int index) = 0;
    // Moves the item of the drag source to target.
    virtual void MoveItemLater(int target) = 0;
    // 1 steps a page back, 2 forward: the wheel turned over a button.
    virtual void PageStepLater(int step) = 0;
    virtual void HideLater() = 0;
    virtual void HideNow() = 0;
    // Takes the record of a newly registered file into the item list.
    virtual void AddItem(std::unique_ptr<CLaunchItem> item) = 0;
    // The icon the launcher shows for a command; owned by the launcher.
    virtual HICON IconFor(const std::string& command) = 0;

protected:
    ~ButtonHost() = default;
};
