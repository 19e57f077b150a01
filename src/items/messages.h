// The program's private window messages. Any program can send or post these numbers, so they
// carry numbers only, never pointers, and their handlers check every value they are given.
#pragma once

#include <windows.h>

#include "hook/hook_interface.h"  // the hook library's messages

// Reserved: handled by no window, and taken by no other message. These numbers once carried
// pointers, or opened dialogs, for callers inside the program; programs outside may still send them.
constexpr UINT kReservedMessages[] = {WM_USER + 10, WM_USER + 11, WM_USER + 15, WM_USER + 17};
constexpr UINT KVM_HIDE = WM_USER + 12;           // → launcher: hide
constexpr UINT KVM_GETINDEX = WM_USER + 13;       // launcher → button: result = item index
constexpr UINT KVM_TRAYNOTIFY = WM_USER + 14;     // notification icon → launcher (not handled)
constexpr UINT KVM_DELETEITEM = WM_USER + 16;     // launch thread → launcher: wParam = item index
constexpr UINT KVM_MOVEITEM = WM_USER + 18;       // launcher → itself: lParam = (target << 16) | source
constexpr UINT KVM_SETDRAGSOURCE = WM_USER + 19;  // → launcher: wParam = item index shown on a button, or -1
constexpr UINT KVM_GETDRAGSOURCE = WM_USER + 20;  // → launcher: result = drag source
constexpr UINT KVM_PAGESTEP = WM_USER + 102;      // launcher → itself: wParam 1 = back, 2 = forward

// Window texts by which the program recognises its own windows, also from other processes.
constexpr char kBodyWindowText[] = "Kestrovar Body Window!";
constexpr char kButtonWindowText[] = "Kestrovar Button Window";

// Control id of the first launcher button; button n of a page has id kFirstButtonId + n.
constexpr int kFirstButtonId = 1024;
