#include "launcher/navigation.h"

#include "launcher/grid_layout.h"

std::optional<int> ArrowTarget(ArrowKey key, int position, int colSetting, int rowSetting) {
    // The grid that exists, not the raw settings.
    const int cols = GridColumns(colSetting);
    const int rows = GridRows(rowSetting);
    if (cols <= 0 || rows <= 0)
        return std::nullopt;
    if (position == -1)
        return 0;
    const int count = cols * rows;
    if (position < 0 || position >= count)
        return std::nullopt;
    const int column = position % cols;
    switch (key) {
        case kArrowLeft:
            if (cols == 1)
                return std::nullopt;
            return position == 0 ? count - 1 : position - 1;
        case kArrowRight:
            if (cols == 1)
                return std::nullopt;
            return position == count - 1 ? 0 : position + 1;
        case kArrowUp:
            if (rows == 1)
                return std::nullopt;
            if (position >= cols)
                return position - cols;
            // Top row: bottom of the column to the left, wrapping to the last button.
            return column == 0 ? count - 1 : column - cols + count - 1;
        case kArrowDown:
            if (rows == 1)
                return std::nullopt;
            if (position < count - cols)
                return position + cols;
            // Bottom row: top of the column to the right, wrapping to the first button.
            return column + 1 == cols ? 0 : column + 1;
    }
    return std::nullopt;
}

int PageStepDirection(int step) {
    const int16_t low = static_cast<int16_t>(static_cast<uint16_t>(step & 0xFFFF));
    return low < 0 ? kPageForward : kPageBack;
}

int WheelPageStep(uintptr_t wheelParam) {
    if (wheelParam == 1)
        return 1;
    return wheelParam == 2 ? -1 : 0;
}

bool WheelClickQualifier::OnClick(uint32_t nowMs, uint32_t doubleClickTimeMs, bool doubleClickOn) {
    if (!doubleClickOn)
        return true;
    ++count;
    if (count == 1) {
        firstTime = nowMs;
        return false;
    }
    if (count == 2) {
        if (doubleClickTimeMs < static_cast<uint32_t>(nowMs - firstTime)) {
            count = 1;
            firstTime = nowMs;
            return false;
        }
        return true;
    }
    count = 0;
    return false;
}
