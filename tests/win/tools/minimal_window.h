// The reference window of the start benchmark, shared by the program that shows it
// (kvminimalwnd) and the benchmark that starts it and clicks inside it.
#pragma once

#include <windows.h>

inline constexpr char kMinimalWindowClass[] = "KvMinimalWnd";
inline constexpr RECT kMinimalWindowBounds = {100, 100, 400, 300};  // screen coordinates
