// The binding of the pointer-hook library Kestrovar.dll: loading, its five operations, and
// release. After Release no operation is called again; a missing operation is never called.
#pragma once

#include "framework/handles.h"

class HookLibrary {
public:
    // Loads the library from the program's folder and looks up its operations. False when it
    // cannot be loaded.
    bool Load(const wchar_t* fileName);
    // LockMessage(1), End, LockMessage(0), FreeLibrary; afterwards the handle is forgotten.
    void StopAndRelease();

    void Start(HWND window);
    void WheelClickLock(int on);
    void LockMessage(int on);
    bool IsLockMessage();

private:
    using IntOperation = int(__cdecl*)(int);
    using VoidOperation = int(__cdecl*)();

    UniqueModule module_;
    IntOperation start_ = nullptr;
    IntOperation wheelClickLock_ = nullptr;
    IntOperation lockMessage_ = nullptr;
    VoidOperation isLockMessage_ = nullptr;
    VoidOperation end_ = nullptr;
};

// Holds the hook library's message lock for a modal span.
class MessageLockScope {
public:
    explicit MessageLockScope(HookLibrary& hook) : hook_(hook) { hook_.LockMessage(1); }
    ~MessageLockScope() { hook_.LockMessage(0); }
    MessageLockScope(const MessageLockScope&) = delete;
    MessageLockScope& operator=(const MessageLockScope&) = delete;

private:
    HookLibrary& hook_;
};
