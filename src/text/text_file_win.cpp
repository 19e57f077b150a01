#include "text/text_file.h"

#include <cstring>

#include "text/unicode.h"

namespace {

std::string Utf16LeToUtf8(std::string_view bytes) {
    std::wstring units(bytes.size() / sizeof(wchar_t), L'\0');
    if (!units.empty())
        std::memcpy(&units[0], bytes.data(), units.size() * sizeof(wchar_t));  // an odd last byte is dropped
    return Utf8(units);
}

}  // namespace

std::string DecodeTextFile(std::string_view bytes) {
    const TextFileBytes detected = DetectTextFileEncoding(bytes);
    switch (detected.encoding) {
        case TextFileEncoding::kUtf16Le:
            return Utf16LeToUtf8(detected.payload);
        case TextFileEncoding::kCp932:
            return Cp932ToUtf8(detected.payload);
        default:
            return std::string(detected.payload);
    }
}
