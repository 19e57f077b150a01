#include "support/theme_scratch.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kvtest {

namespace fs = std::filesystem;

namespace {

std::string CurrentDirectory() {
    char buffer[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof(buffer), buffer);
    return buffer;
}

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
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof(temp), temp);
    const std::string base = std::string(temp) + "kvtheme" + std::to_string(GetCurrentProcessId());
    for (int n = 0;; ++n) {
        directory_ = base + "_" + std::to_string(n);
        if (CreateDirectoryA(directory_.c_str(), nullptr))
            break;
    }
    CreateDirectoryA((directory_ + "\\Themes").c_str(), nullptr);
    SetCurrentDirectoryA(directory_.c_str());
}

ThemeScratch::~ThemeScratch() {
    SetCurrentDirectoryA(previous_.c_str());
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
}

bool ThemeScratch::CopySampleThemes() {
    const std::string source = SourceDirectory();
    if (source.empty())
        return false;
    std::error_code error;
    fs::copy(source + "\\Themes", directory_ + "\\Themes", fs::copy_options::recursive, error);
    return !error;
}

void ThemeScratch::WriteThemeFile(const std::string& theme, const std::string& file, const std::string& bytes) {
    const std::string folder = directory_ + "\\Themes\\" + theme;
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    std::ofstream(folder + "\\" + file, std::ios::binary) << bytes;
}

void ThemeScratch::WriteDefinition(const std::string& theme, const std::string& text) {
    WriteThemeFile(theme, theme + ".kvs", text);
}

}  // namespace kvtest
