#include "items/tray_icon.h"

#include "framework/handles.h"
#include "framework/worker_thread.h"
#include "items/messages.h"
#include "res/resource.h"
#include "text/unicode.h"

#include <shellapi.h>

#include <cstring>

namespace {

constexpr int kFrameCount = 4;
constexpr int kFrameResources[kFrameCount] = {IDI_LOADING0, IDI_LOADING1, IDI_LOADING2, IDI_LOADING3};
constexpr int kFrameSize = 16;

// The Windows 2000 form of the notification data, understood by every shell the program
// targets (936 bytes in a 32-bit build).
constexpr DWORD kNotifyDataSize = NOTIFYICONDATAW_V2_SIZE;
#if !defined(_WIN64)
static_assert(kNotifyDataSize == 936, "the Windows 2000 notification data is 936 bytes");
#endif

bool Loading(HWND window, const std::atomic<bool>* dataLoaded) {
    return !*dataLoaded && IsWindow(window);
}

}  // namespace

void TrayLoadingThread(HWND window, const std::atomic<bool>* dataLoaded) {
    UniqueIcon frames[kFrameCount];
    for (int i = 0; i < kFrameCount; ++i) {
        frames[i].reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kFrameResources[i]),
                                                      IMAGE_ICON, kFrameSize, kFrameSize, LR_DEFAULTCOLOR)));
    }
    NOTIFYICONDATAW data;
    std::memset(&data, 0, sizeof(data));
    data.cbSize = kNotifyDataSize;
    data.hWnd = window;
    data.uID = kLoadingTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = KVM_TRAYNOTIFY;
    data.hIcon = frames[0].get();
    const std::wstring tip = Wide(kLoadingTrayTip);
    static_assert(sizeof(kLoadingTrayTip) <= ARRAYSIZE(data.szTip), "tip fits");
    std::memcpy(data.szTip, tip.c_str(), (tip.size() + 1) * sizeof(wchar_t));
    // A missing notification area is not an error: the thread still waits for the load.
    Shell_NotifyIconW(NIM_ADD, &data);

    int frame = 0;
    while (Loading(window, dataLoaded)) {
        Sleep(kLoadingFrameMilliseconds);
        frame = (frame + 1) % kFrameCount;
        data.hIcon = frames[frame].get();
        Shell_NotifyIconW(NIM_MODIFY, &data);
    }
    Shell_NotifyIconW(NIM_DELETE, &data);
}

bool StartTrayLoadingIcon(HWND window, const std::atomic<bool>* dataLoaded) {
    return StartWorkerThread([window, dataLoaded] { TrayLoadingThread(window, dataLoaded); }, THREAD_PRIORITY_NORMAL);
}
