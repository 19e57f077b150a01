// Move-only owners for Win32 handles. A raw handle in a parameter or a field is borrowed;
// one of these owns it and releases it exactly once.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

template <typename Traits>
class UniqueAny {
public:
    using Handle = typename Traits::Handle;

    UniqueAny() = default;
    explicit UniqueAny(Handle h) : handle_(h) {}
    ~UniqueAny() { reset(); }
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : handle_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    Handle release() { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) {
        Handle old = std::exchange(handle_, h);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

private:
    Handle handle_ = Traits::Invalid();
};

#define KV_HANDLE_TRAITS(Name, Type, InvalidValue, CloseCall) \
    struct Name {                                             \
        using Handle = Type;                                  \
        static Handle Invalid() { return InvalidValue; }      \
        static void Close(Handle h) { CloseCall(h); }         \
    }

KV_HANDLE_TRAITS(IconTraits, HICON, nullptr, DestroyIcon);
KV_HANDLE_TRAITS(BitmapTraits, HBITMAP, nullptr, DeleteObject);
KV_HANDLE_TRAITS(GdiObjectTraits, HGDIOBJ, nullptr, DeleteObject);
KV_HANDLE_TRAITS(MemoryDcTraits, HDC, nullptr, DeleteDC);
KV_HANDLE_TRAITS(KeyTraits, HKEY, nullptr, RegCloseKey);
KV_HANDLE_TRAITS(ModuleTraits, HMODULE, nullptr, FreeLibrary);
KV_HANDLE_TRAITS(KernelHandleTraits, HANDLE, nullptr, CloseHandle);
KV_HANDLE_TRAITS(FileHandleTraits, HANDLE, INVALID_HANDLE_VALUE, CloseHandle);
KV_HANDLE_TRAITS(FindHandleTraits, HANDLE, INVALID_HANDLE_VALUE, FindClose);
KV_HANDLE_TRAITS(MenuTraits, HMENU, nullptr, DestroyMenu);
KV_HANDLE_TRAITS(ImageListTraits, HIMAGELIST, nullptr, ImageList_Destroy);
#undef KV_HANDLE_TRAITS

using UniqueIcon = UniqueAny<IconTraits>;
using UniqueBitmap = UniqueAny<BitmapTraits>;
using UniqueGdiObject = UniqueAny<GdiObjectTraits>;
using UniqueMemoryDc = UniqueAny<MemoryDcTraits>;
using UniqueKey = UniqueAny<KeyTraits>;
using UniqueModule = UniqueAny<ModuleTraits>;
using UniqueHandle = UniqueAny<KernelHandleTraits>;
using UniqueFile = UniqueAny<FileHandleTraits>;
using UniqueFind = UniqueAny<FindHandleTraits>;
using UniqueMenu = UniqueAny<MenuTraits>;
using UniqueImageList = UniqueAny<ImageListTraits>;

// A window DC from GetDC, or from GetDCEx with flags, released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDc(HWND hwnd, DWORD flags) : hwnd_(hwnd), dc_(GetDCEx(hwnd, nullptr, flags)) {}
    ~WindowDc() {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;  // not owned
    HDC dc_;
};

// COM initialised on this thread for the lifetime of this value; uninitialised again only when
// the initialisation succeeded.
class ComApartment {
public:
    explicit ComApartment(DWORD flags) : result_(CoInitializeEx(nullptr, flags)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

// Selects an object into a DC for the lifetime of this value, then selects the old one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (old_)
            SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;  // not owned
    HGDIOBJ old_;
};
