// Section and value names of the application profile.
#pragma once

namespace profile_keys {

inline constexpr char kStatus[] = "Status";
inline constexpr char kDesign[] = "Design";
inline constexpr char kPathName[] = "Path Name";
inline constexpr char kFilter[] = "Filter";

// Values of Status.
inline constexpr char kMemoryPage[] = "MemoryPage";
inline constexpr char kWheelClickLock[] = "WheelClickLock";
inline constexpr char kWheelClickTrigger[] = "WheelClickTrigger";
inline constexpr char kWheelClickSelect[] = "WheelClickSelect";
inline constexpr char kHideOption[] = "HideOption";
inline constexpr char kHotkeyShow[] = "HotkeyShow";
inline constexpr char kHotkeyNext[] = "HotkeyNext";
inline constexpr char kHotkeyPrev[] = "HotkeyPrev";
inline constexpr char kShowTaskTrayIcon[] = "ShowTaskTrayIcon";
inline constexpr char kDoubleClick[] = "DoubleClick";

// Values of Design.
inline constexpr char kSkinMode[] = "SkinMode";
inline constexpr char kTheme[] = "Theme";
inline constexpr char kIconSize[] = "IconSize";
inline constexpr char kButtonSpace[] = "ButtonSpace";
inline constexpr char kButtonWidth[] = "ButtonWidth";
inline constexpr char kButtonHeight[] = "ButtonHeight";
inline constexpr char kCol[] = "Col";
inline constexpr char kRow[] = "Row";
inline constexpr char kWindowTPValue[] = "WindowTPValue";

// Numbered list values: prefix + decimal index, indexes 0 to the given maximum.
inline constexpr char kButtonPrefix[] = "Button";
inline constexpr int kMaxButtonIndex = 10000;
inline constexpr char kClassNamePrefix[] = "ClassName";
inline constexpr char kWindowNamePrefix[] = "WindowName";
inline constexpr int kMaxFilterIndex = 1000;

}  // namespace profile_keys
