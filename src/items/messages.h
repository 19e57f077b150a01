// The program's private window messages.
#pragma once

#include <windows.h>

#include "hook/hook_interface.h"  // the hook library's messages

constexpr UINT KVM_ADDITEM = WM_USER + 10;        // button → launcher: lParam = new CLaunchItem*
constexpr UINT KVM_GETICON = WM_USER + 11;        // button → launcher: lParam = const char* command
constexpr UINT KVM_HIDE = WM_USER + 12;           // → launcher: hide
constexpr UINT KVM_GETINDEX = WM_USER + 13;       // launcher → button: result = item index
constexpr UINT KVM_TRAYNOTIFY = WM_USER + 14;     // notification icon → launcher (not handled)
constexpr UINT KVM_REGISTER = WM_USER + 15;       // launcher → button: file dialog and register
constexpr UINT KVM_DELETEITEM = WM_USER + 16;     // launch thread → launcher: wParam = item index
constexpr UINT KVM_OPENLINK = WM_USER + 17;       // launcher → button: open the target's folder
constexpr UINT KVM_MOVEITEM = WM_USER + 18;       // button → launcher: lParam = (target << 16) | source
constexpr UINT KVM_SETDRAGSOURCE = WM_USER + 19;  // button → launcher: wParam = item index
constexpr UINT KVM_GETDRAGSOURCE = WM_USER + 20;  // button → launcher: result = drag source
constexpr UINT KVM_PAGESTEP = WM_USER + 102;      // button → launcher: wParam 1 = back, 2 = forward

// Window texts by which the program recognises its own windows, also from other processes.
constexpr char kBodyWindowText[] = "Kestrovar Body Window!";
constexpr char kButtonWindowText[] = "Kestrovar Button Window";

// Control id of the first launcher button; button n of a page has id kFirstButtonId + n.
constexpr int kFirstButtonId = 1024;
