#include "support/theme_scratch.h"

#include <cstdlib>
#include <filesystem>

#include "support/own_paths.h"
#include "text/unicode.h"

namespace kvtest {

namespace fs = std::filesystem;

namespace {

// KV_SOURCE is a Unix path; Wine maps the Unix root to drive Z:.
std::string SourceDirectory() {
    const char* source = std::getenv("KV_SOURCE");
    if (!source || !*source)
        return std::string();
    std::string path = std::string("Z:") + source;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

}  // namespace

ThemeScratch::ThemeScratch() : previous_(CurrentDirectory()) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::string base = Utf8(temp) + "kvtheme" + std::to_string(GetCurrentProcessId());
    for (int n = 0;; ++n) {
        directory_ = base + "_" + std::to_string(n);
        if (CreateDirectoryW(Wide(directory_).c_str(), nullptr))
            break;
    }
    CreateDirectoryW(Wide(directory_ + "\\Themes").c_str(), nullptr);
    SetCurrentDirectoryW(Wide(directory_).c_str());
}

ThemeScratch::~ThemeScratch() {
    SetCurrentDirectoryW(Wide(previous_).c_str());
    std::error_code ignored;
    fs::remove_all(fs::path(Wide(directory_)), ignored);
}

bool ThemeScratch::CopySampleThemes() {
    const std::string source = SourceDirectory();
    if (source.empty())
        return false;
    std::error_code error;
    fs::copy(fs::path(Wide(source + "\\Themes")), fs::path(Wide(directory_ + "\\Themes")), fs::copy_options::recursive,
             error);
    return !error;
}

void ThemeScratch::WriteThemeFile(const std::string& theme, const std::string& file, const std::string& bytes) {
    const std::string folder = directory_ + "\\Themes\\" + theme;
    std::error_code ignored;
    fs::create_directories(fs::path(Wide(folder)), ignored);
    HANDLE handle = CreateFileW(Wide(folder + "\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (handle != INVALID_HANDLE_VALUE)
        WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);
}

void ThemeScratch::WriteDefinition(const std::string& theme, const std::string& text) {
    WriteThemeFile(theme, theme + ".kvs", text);
}

}  // namespace kvtest
