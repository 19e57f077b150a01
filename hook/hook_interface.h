// What the launcher and its hook library share: the library's file name and the messages it
// posts to the launcher window. Programs outside may post the same messages, so the numbers
// never change. The resource scripts read the file name too.
#pragma once

#define KV_HOOK_LIBRARY_FILE "Kestrovar.dll"

#ifndef RC_INVOKED
#include <windows.h>

constexpr wchar_t kHookLibraryName[] = L"" KV_HOOK_LIBRARY_FILE;

constexpr UINT KVM_HOOKCLICK = WM_USER + 200;  // hook library: middle button released
constexpr UINT KVM_HOOKDOWN = WM_USER + 201;   // hook library: middle button pressed
#endif
