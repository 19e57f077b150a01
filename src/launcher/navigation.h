// Keyboard navigation, paging direction and wheel double-click rules of the launcher window.
#pragma once

#include <cstdint>
#include <optional>

enum ArrowKey { kArrowLeft, kArrowRight, kArrowUp, kArrowDown };

// Grid position the cursor moves to for an arrow key, positions counted row by row from 0.
// position -1 (cursor over no button) gives 0. nullopt: the key does nothing (left/right on a
// single column, up/down on a single row, an empty grid or a position outside it).
std::optional<int> ArrowTarget(ArrowKey key, int position, int cols, int rows);

inline constexpr int kPageForward = 1;
inline constexpr int kPageBack = -1;

// Direction of a page step request: the step's low 16 bits read as signed, below 0 means the
// next page (kPageForward), anything else the previous one (kPageBack).
int PageStepDirection(int step);

// Page step argument for a wheel notification of a button: 1 (wheel turned away from the
// user) asks for the previous page, 2 for the next one; 0 (no step) for any other value.
int WheelPageStep(uintptr_t wheelParam);

// Counts middle-button clicks toward a double click when the double-click option is on.
class WheelClickQualifier {
public:
    // True when this click qualifies. With doubleClickOn false every click qualifies and the
    // count is untouched. A third click after an unconsumed pair resets the count to 0 and
    // returns false; callers tell that case apart by count == 0 and drop the click entirely.
    // Times are unsigned milliseconds, so the counter may wrap around between clicks.
    bool OnClick(uint32_t nowMs, uint32_t doubleClickTimeMs, bool doubleClickOn);
    // Called when a click was consumed (toggle, or a click in an ignored window).
    void Reset() { count = 0; }

    int count = 0;
    uint32_t firstTime = 0;
};
