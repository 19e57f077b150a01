#include "framework/display_dpi.h"

#include "framework/system_library.h"

namespace {

constexpr int kMonitorDpiEffective = 0;   // MDT_EFFECTIVE_DPI
constexpr DWORD kDialogDpiChangeAll = 1;  // DDC_DISABLE_ALL

template <typename Function>
Function LookUp(const wchar_t* module, const char* name) {
    HMODULE loaded = GetModuleHandleW(module);
    if (!loaded)
        loaded = LoadSystemLibrary(module);  // kept loaded: it is looked up again at every show
    return loaded ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(loaded, name))) : nullptr;
}

}  // namespace

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 0;
}

int MonitorDpiAt(POINT screenPoint) {
    using DpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto dpiForMonitor = LookUp<DpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    HMONITOR monitor = MonitorFromPoint(screenPoint, MONITOR_DEFAULTTONEAREST);
    UINT x = 0;
    UINT y = 0;
    if (dpiForMonitor && monitor && SUCCEEDED(dpiForMonitor(monitor, kMonitorDpiEffective, &x, &y)) && x > 0)
        return static_cast<int>(x);
    return SystemDpi();
}

void KeepDialogLayoutOnDpiChange(HWND dialog) {
    using DialogDpiChangeFn = BOOL(WINAPI*)(HWND, DWORD, DWORD);
    static const auto setBehavior = LookUp<DialogDpiChangeFn>(L"user32.dll", "SetDialogDpiChangeBehavior");
    if (setBehavior)
        setBehavior(dialog, kDialogDpiChangeAll, kDialogDpiChangeAll);
}
