#include "items/hotkey_rules.h"

unsigned HotkeyModifiers(unsigned highByte) {
    switch (highByte & ~kHotkeyFlagExtended) {
        case kHotkeyFlagShift:
            return kModShift;
        case kHotkeyFlagControl:
            return kModControl;
        case kHotkeyFlagShift | kHotkeyFlagControl:
            return kModShift | kModControl;
        case kHotkeyFlagAlt:
            return kModAlt;
        case kHotkeyFlagShift | kHotkeyFlagAlt:
            return kModShift | kModAlt;
        case kHotkeyFlagControl | kHotkeyFlagAlt:
            return kModControl | kModAlt;
        default:
            return 0;
    }
}

unsigned HotkeyFlagByte(int setting) {
    return (static_cast<unsigned>(setting) >> 8) & 0xFF;
}

unsigned HotkeyVirtualKey(int setting) {
    return static_cast<unsigned>(setting) & 0xFF;
}
