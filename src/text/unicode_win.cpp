#include "text/unicode.h"

#include <windows.h>

#include <climits>

namespace {

constexpr UINT kCodePage932 = 932;

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Length of the pair or single unit at wide[pos], 0 for an unpaired surrogate.
size_t UnitsAt(std::wstring_view wide, size_t pos) {
    if (IsHighSurrogate(wide[pos]))
        return pos + 1 < wide.size() && IsLowSurrogate(wide[pos + 1]) ? 2 : 0;
    return IsLowSurrogate(wide[pos]) ? 0 : 1;
}

bool HasUnpairedSurrogate(std::wstring_view wide) {
    for (size_t pos = 0; pos < wide.size();) {
        const size_t units = UnitsAt(wide, pos);
        if (units == 0)
            return true;
        pos += units;
    }
    return false;
}

std::wstring MultiByteToWide(UINT codePage, std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX)
        return std::wstring();
    const int size = static_cast<int>(bytes.size());
    // Strict first; a text with invalid bytes is converted again with them replaced.
    DWORD flags = MB_ERR_INVALID_CHARS;
    int length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    if (length == 0) {
        flags = 0;
        length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    }
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (length > 0)
        MultiByteToWideChar(codePage, flags, bytes.data(), size, &wide[0], length);
    return wide;
}

// Converts a text without unpaired surrogates. (The flag that makes the system refuse them
// is unknown to the older systems the program runs on, so they are checked here.)
std::string WideToUtf8(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX)
        return std::string();
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, &utf8[0], length, nullptr, nullptr);
    return utf8;
}

}  // namespace

std::wstring Wide(std::string_view utf8) {
    return MultiByteToWide(CP_UTF8, utf8);
}

std::string Utf8(std::wstring_view wide) {
    if (!HasUnpairedSurrogate(wide))
        return WideToUtf8(wide);
    std::wstring mended;
    for (size_t pos = 0; pos < wide.size();) {
        const size_t units = UnitsAt(wide, pos);
        mended.append(units == 0 ? std::wstring_view(L"\xFFFD") : wide.substr(pos, units));
        pos += units == 0 ? 1 : units;
    }
    return WideToUtf8(mended);
}

std::string Utf8(const wchar_t* zeroTerminated) {
    return zeroTerminated ? Utf8(std::wstring_view(zeroTerminated)) : std::string();
}

bool ExactUtf8(std::wstring_view wide, std::string& out) {
    if (HasUnpairedSurrogate(wide))
        return false;
    out = WideToUtf8(wide);
    return true;
}

std::string Cp932ToUtf8(std::string_view bytes) {
    return Utf8(MultiByteToWide(kCodePage932, bytes));
}
