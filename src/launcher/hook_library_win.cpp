#include "launcher/hook_library.h"

#include "framework/system_library.h"

namespace {
template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

int AsInt(HWND window) {
    // Window handles carry 32 significant bits, so they pass through the library's int arguments.
    return static_cast<int>(reinterpret_cast<LONG_PTR>(window));
}
}  // namespace

bool HookLibrary::Load(const wchar_t* fileName) {
    module_.reset(LoadLibraryBesideProgram(fileName));
    if (!module_)
        return false;
    HMODULE m = module_.get();
    start_ = Lookup<IntOperation>(m, "Start");
    wheelClickLock_ = Lookup<IntOperation>(m, "WheelClickLock");
    lockMessage_ = Lookup<IntOperation>(m, "LockMessage");
    isLockMessage_ = Lookup<VoidOperation>(m, "IsLockMessage");
    end_ = Lookup<VoidOperation>(m, "End");
    return true;
}

void HookLibrary::StopAndRelease() {
    if (!module_)
        return;
    LockMessage(1);
    if (end_)
        end_();
    LockMessage(0);
    start_ = wheelClickLock_ = lockMessage_ = nullptr;
    isLockMessage_ = end_ = nullptr;
    module_.reset();
}

// Without the hook, wheel clicks do not call the launcher (the hot key still does). The failure
// is told to a debugger, so that a user's report of a dead wheel click can be checked.
void HookLibrary::Start(HWND window) {
    if (!start_ || start_(AsInt(window)))
        return;
    // The library installs the hook on a thread of its own: this thread's last error says nothing.
    OutputDebugStringA("Kestrovar: the pointer hook was not installed\n");
}

void HookLibrary::WheelClickLock(int on) {
    if (wheelClickLock_)
        wheelClickLock_(on);
}

void HookLibrary::LockMessage(int on) {
    if (lockMessage_)
        lockMessage_(on);
}

bool HookLibrary::IsLockMessage() {
    return isLockMessage_ && isLockMessage_() != 0;
}
