#include "items/tray_icon.h"

#include "framework/handles.h"
#include "framework/worker_thread.h"
#include "launcher/messages.h"
#include "res/resource.h"

#include <shellapi.h>

#include <cstring>

namespace {

constexpr int kFrameCount = 4;
constexpr int kFrameResources[kFrameCount] = {IDI_LOADING0, IDI_LOADING1, IDI_LOADING2, IDI_LOADING3};
constexpr int kFrameSize = 16;

// The Windows 2000 form of the notification data, understood by every shell the program
// targets (488 bytes in a 32-bit build).
constexpr DWORD kNotifyDataSize = NOTIFYICONDATAA_V2_SIZE;
#if !defined(_WIN64)
static_assert(kNotifyDataSize == 488, "the Windows 2000 notification data is 488 bytes");
#endif

bool Loading(HWND window, const std::atomic<bool>* dataLoaded) {
    return !*dataLoaded && IsWindow(window);
}

}  // namespace

void TrayLoadingThread(HWND window, const std::atomic<bool>* dataLoaded) {
    UniqueIcon frames[kFrameCount];
    for (int i = 0; i < kFrameCount; ++i) {
        frames[i].reset(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kFrameResources[i]),
                                                      IMAGE_ICON, kFrameSize, kFrameSize, LR_DEFAULTCOLOR)));
    }
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof(data));
    data.cbSize = kNotifyDataSize;
    data.hWnd = window;
    data.uID = kLoadingTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = KVM_TRAYNOTIFY;
    data.hIcon = frames[0].get();
    static_assert(sizeof(kLoadingTrayTip) <= sizeof(data.szTip), "tip fits");
    std::memcpy(data.szTip, kLoadingTrayTip, sizeof(kLoadingTrayTip));
    // A missing notification area is not an error: the thread still waits for the load.
    Shell_NotifyIconA(NIM_ADD, &data);

    int frame = 0;
    while (Loading(window, dataLoaded)) {
        Sleep(kLoadingFrameMilliseconds);
        frame = (frame + 1) % kFrameCount;
        data.hIcon = frames[frame].get();
        Shell_NotifyIconA(NIM_MODIFY, &data);
    }
    Shell_NotifyIconA(NIM_DELETE, &data);
}

bool StartTrayLoadingIcon(HWND window, const std::atomic<bool>* dataLoaded) {
    return StartWorkerThread([window, dataLoaded] { TrayLoadingThread(window, dataLoaded); }, THREAD_PRIORITY_NORMAL);
}
