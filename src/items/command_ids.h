// Command identifiers of the launcher window (context menu and refresh).
#pragma once

inline constexpr int kCmdSettings = 101;
inline constexpr int kCmdCancel = 102;
inline constexpr int kCmdQuit = 103;
inline constexpr int kCmdEditTip = 107;
inline constexpr int kCmdEditCommand = 108;
inline constexpr int kCmdVersion = 109;
inline constexpr int kCmdRefresh = 111;
inline constexpr int kCmdRegister = 113;
inline constexpr int kCmdOpenLink = 114;
inline constexpr int kCmdInsertBlank = 115;
inline constexpr int kCmdDelete = 116;
inline constexpr int kCmdDefaultTheme = 1924;
// Theme folder n of the enumeration has the id kCmdFirstTheme + n.
inline constexpr int kCmdFirstTheme = 1925;
// A second id for the icon refresh, kept for programs that send it from outside.
inline constexpr int kCmdHelpRefresh = 57670;
