// The loading notification icon: an animated entry in the notification area, shown while the
// icon store loads. It has no menu and reacts to no click.
#pragma once

#include <windows.h>

#include <atomic>

constexpr UINT kLoadingTrayIconId = 128;
constexpr DWORD kLoadingFrameMilliseconds = 400;
constexpr char kLoadingTrayTip[] = "Kestrovar...";

// Starts TrayLoadingThread on a worker thread at normal priority. False when no thread started.
bool StartTrayLoadingIcon(HWND window, const std::atomic<bool>* dataLoaded);

// Shows the entry on window and cycles its four frames every kLoadingFrameMilliseconds until
// *dataLoaded is true, then removes it. The thread reads nothing of the launcher window but
// the flag and its handle. The flag lives in the launcher's icon cache, which exists for the
// whole run and whose loads finish long before it is deleted at exit; as a further guard the
// thread also ends once the window no longer exists, so it never polls a destroyed window.
void TrayLoadingThread(HWND window, const std::atomic<bool>* dataLoaded);
