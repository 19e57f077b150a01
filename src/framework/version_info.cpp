#include "framework/version_info.h"

#include <cstdio>
#include <cwchar>

#include "text/unicode.h"

namespace {

// The first (language, code page) pair of the block's translation list.
bool FirstTranslation(const std::vector<BYTE>& block, WORD* language, WORD* codePage) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) || !value ||
        length < 2 * sizeof(WORD))
        return false;
    const WORD* pair = static_cast<const WORD*>(value);
    *language = pair[0];
    *codePage = pair[1];
    return true;
}

std::string ReadVersionString(const std::string& path, const char* key) {
    DWORD ignored = 0;
    const std::wstring widePath = Wide(path);
    const DWORD size = GetFileVersionInfoSizeW(widePath.c_str(), &ignored);
    if (size == 0)
        return std::string();
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(widePath.c_str(), 0, size, block.data()))
        return std::string();
    WORD language = 0;
    WORD codePage = 0;
    if (!FirstTranslation(block, &language, &codePage))
        return std::string();
    return QueryVersionString(block, language, codePage, key);
}

}  // namespace

std::string GetFileDescription(const std::string& path) {
    return ReadVersionString(path, "FileDescription");
}

std::string GetFileVersion(const std::string& path) {
    return ReadVersionString(path, "FileVersion");
}

std::string QueryVersionString(const std::vector<BYTE>& block, WORD language, WORD codePage, const char* key) {
    if (block.empty())
        return std::string();
    char subBlock[MAX_PATH];
    const unsigned long translation = (static_cast<unsigned long>(language) << 16) | codePage;
    const int formatted = std::snprintf(subBlock, sizeof(subBlock), "\\StringFileInfo\\%08lX\\%s", translation, key);
    if (formatted < 0 || static_cast<size_t>(formatted) >= sizeof(subBlock))
        return std::string();

    void* value = nullptr;
    UINT length = 0;  // in UTF-16 units
    if (!VerQueryValueW(block.data(), Wide(subBlock).c_str(), &value, &length) || !value)
        return std::string();
    // The reported length should lie inside the block; never read past its end.
    const BYTE* begin = static_cast<const BYTE*>(value);
    const BYTE* blockEnd = block.data() + block.size();
    if (begin < block.data() || begin >= blockEnd)
        return std::string();
    const size_t available = static_cast<size_t>(blockEnd - begin) / sizeof(wchar_t);
    const auto* units = reinterpret_cast<const wchar_t*>(begin);
    return Utf8(std::wstring_view(units, wcsnlen(units, length < available ? length : available)));
}
