// Translation of hot-key control values (modifier flags in bits 8-15, virtual key in bits 0-7)
// into RegisterHotKey arguments.
#pragma once

// RegisterHotKey modifier flags.
inline constexpr unsigned kModAlt = 0x1;
inline constexpr unsigned kModControl = 0x2;
inline constexpr unsigned kModShift = 0x4;

// Ids of the launcher's global hot keys (the WM_HOTKEY wParam).
inline constexpr int kHotkeyNextId = 0;
inline constexpr int kHotkeyPrevId = 1;
inline constexpr int kHotkeyShowId = 2;

// Hot-key control modifier flags.
inline constexpr unsigned kHotkeyFlagShift = 0x01;
inline constexpr unsigned kHotkeyFlagControl = 0x02;
inline constexpr unsigned kHotkeyFlagAlt = 0x04;
inline constexpr unsigned kHotkeyFlagExtended = 0x08;

// Modifiers for the flag byte of a setting. The extended-key flag is ignored; all three
// modifiers together (and any unknown value) register the bare key.
unsigned HotkeyModifiers(unsigned highByte);

unsigned HotkeyFlagByte(int setting);
unsigned HotkeyVirtualKey(int setting);
