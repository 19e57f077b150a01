#include "theme/theme_loader.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "framework/application.h"
#include "framework/dib_canvas.h"
#include "text/text_file.h"
#include "text/unicode.h"
#include "theme/theme_file.h"

namespace {

constexpr char kDesignSection[] = "Design";
constexpr char kPositionSection[] = "Position";

// Definition files are a few hundred bytes; a larger one is read up to this size, far beyond any
// that a theme would have.
constexpr LONGLONG kMaxThemeFileBytes = 64 << 20;

// text when it fits into a kThemeTextUnits buffer with its terminating zero, else empty.
std::string Bounded(std::string text) {
    return Utf16Length(text) < kThemeTextUnits ? text : std::string();
}

UniqueFile OpenForReading(const std::string& path) {
    return UniqueFile(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Reads the start of the file and checks that the headers stay within the file.
bool HasLoadableBmpHeader(const std::string& path) {
    UniqueFile file = OpenForReading(path);
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.get(), &size))
        return false;
    std::string header(BmpLimits::kHeaderBytes, '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), &header[0], static_cast<DWORD>(header.size()), &read, nullptr))
        return false;
    header.resize(read);
    return IsLoadableBmpHeader(header, static_cast<uint64_t>(size.QuadPart));
}

// A key's value in the text of a definition file, and as a number with the atoi rule.
std::string TextValue(const std::string& text, const char* section, const char* key, const std::string& defaultValue) {
    return ThemeFileValue(text, section, key, defaultValue, kThemeTextUnits);
}

int NumberValue(const std::string& text, const char* section, const char* key, int defaultValue) {
    return ThemeAtoi(TextValue(text, section, key, std::to_string(defaultValue)));
}

UniqueBitmap LoadNamedBitmap(const std::string& text,
                             const char* key,
                             const std::string& directory,
                             const std::string& theme) {
    const std::string name = TextValue(text, kDesignSection, key, "");
    if (name.empty())
        return UniqueBitmap();
    return LoadThemeBitmap(ThemeFilePath(directory, theme, name));
}

}  // namespace

std::string ReadThemeString(const std::string& file,
                            const char* section,
                            const char* key,
                            const std::string& defaultValue) {
    return TextValue(ReadThemeFileText(file), section, key, defaultValue);
}

std::string ReadThemeFileText(const std::string& file) {
    if (file.empty())
        return std::string();
    UniqueFile handle = OpenForReading(file);
    LARGE_INTEGER size = {};
    if (!handle || !GetFileSizeEx(handle.get(), &size))
        return std::string();
    std::string bytes(static_cast<size_t>(std::min<LONGLONG>(size.QuadPart, kMaxThemeFileBytes)), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(handle.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr))
        return std::string();
    bytes.resize(read);
    return DecodeTextFile(bytes);
}

int ReadThemeInt(const std::string& file, const char* section, const char* key, int defaultValue) {
    return NumberValue(ReadThemeFileText(file), section, key, defaultValue);
}

std::string ThemeFilePath(const std::string& directory, const std::string& theme, const std::string& file) {
    if (directory.empty())
        return std::string();
    return Bounded(directory + "\\" + kThemesFolderName + "\\" + theme + "\\" + file);
}

std::string ThemeDefinitionPath(const std::string& directory, const std::string& theme) {
    if (directory.empty())
        return std::string();
    return Bounded(directory + "\\" + kThemesFolderName + "\\" + theme + "\\" + theme + ".kvs");
}

namespace {

std::string CurrentDirectory() {
    wchar_t buffer[kThemeTextUnits] = {};
    const DWORD length = GetCurrentDirectoryW(kThemeTextUnits, buffer);
    if (length == 0 || length >= kThemeTextUnits)
        return std::string();
    return Utf8(std::wstring_view(buffer, length));
}

// The folder of the running program, without its trailing '\\'.
std::string ProgramDirectory() {
    const std::string path = ModulePath(nullptr);
    const size_t lastSeparator = path.rfind('\\');
    return lastSeparator == std::string::npos ? std::string() : path.substr(0, lastSeparator);
}

bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FindThemesHome() {
    const std::string program = ProgramDirectory();
    if (!program.empty() && IsDirectory(program + "\\" + kThemesFolderName))
        return program;
    return CurrentDirectory();
}

}  // namespace

const std::string& ThemesHome() {
    static const std::string home = FindThemesHome();
    return home;
}

std::string ThemesFolder() {
    return ThemesHome().empty() ? std::string() : ThemesHome() + "\\" + kThemesFolderName;
}

UniqueBitmap LoadThemeBitmap(const std::string& path) {
    if (path.empty() || !HasLoadableBmpHeader(path))
        return UniqueBitmap();
    // Not LR_SHARED: a shared image must never be deleted, and this one is owned and deleted
    // at the next load; it would also keep serving the old picture after the file is edited.
    UniqueBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(nullptr, Wide(path).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    const SIZE size = BitmapSize(bitmap.get());
    if (size.cx <= 0 || size.cy <= 0)
        return UniqueBitmap();
    return bitmap;
}

namespace {

// Enlarged edges stay within what a theme bitmap file may have, which bounds the memory too.
bool FitsEnlarged(SIZE size, int factor) {
    return size.cx > 0 && size.cy > 0 && size.cx <= BmpLimits::kMaxEdge / factor &&
           size.cy <= BmpLimits::kMaxEdge / factor;
}

}  // namespace

UniqueBitmap EnlargedBitmap(HBITMAP bitmap, int factor) {
    const SIZE size = BitmapSize(bitmap);
    if (factor < 2 || !FitsEnlarged(size, factor))
        return UniqueBitmap();
    uint32_t* pixels = nullptr;
    const int width = size.cx * factor;
    const int height = size.cy * factor;
    UniqueBitmap large = CreateTopDownDib(width, height, &pixels);
    UniqueMemoryDc sourceDc(CreateCompatibleDC(nullptr));
    UniqueMemoryDc largeDc(CreateCompatibleDC(nullptr));
    if (!large || !sourceDc || !largeDc)
        return UniqueBitmap();
    bool copied = false;
    {
        SelectedObject source(sourceDc.get(), bitmap);
        SelectedObject target(largeDc.get(), large.get());
        SetStretchBltMode(largeDc.get(), COLORONCOLOR);  // whole pixels, never blended
        copied = StretchBlt(largeDc.get(), 0, 0, width, height, sourceDc.get(), 0, 0, size.cx, size.cy, SRCCOPY);
    }
    return copied ? std::move(large) : UniqueBitmap();
}

ThemeDefinition ReadThemeDefinition(const std::string& directory, const std::string& theme) {
    ThemeDefinition definition;
    const std::string file = ThemeDefinitionPath(directory, theme);
    // Read once: a definition file may be large, and every key is looked up in it.
    const std::string text = ReadThemeFileText(file);
    definition.ColorKey = ParseHexColor(TextValue(text, kDesignSection, "ColorKey", kDefaultColorKeyText));
    if (TextValue(text, kDesignSection, "BodyImage", "").empty())
        return definition;

    definition.BodyNamed = true;
    definition.Body = LoadNamedBitmap(text, "BodyImage", directory, theme);
    definition.Button = LoadNamedBitmap(text, "ButtonImage", directory, theme);
    definition.ButtonOnMouse = LoadNamedBitmap(text, "ButtonOnMouseImage", directory, theme);
    definition.ButtonDown = LoadNamedBitmap(text, "ButtonDownImage", directory, theme);

    const ThemeLayout defaults;
    ThemeLayout layout;
    layout.IconSize = NumberValue(text, kDesignSection, "IconSize", defaults.IconSize);
    layout.ButtonSpace = NumberValue(text, kDesignSection, "ButtonSpace", defaults.ButtonSpace);
    layout.XButton = NumberValue(text, kDesignSection, "XButton", defaults.XButton);
    layout.YButton = NumberValue(text, kDesignSection, "YButton", defaults.YButton);
    layout.X = NumberValue(text, kPositionSection, "x", defaults.X);
    layout.Y = NumberValue(text, kPositionSection, "y", defaults.Y);
    definition.Layout = ClampThemeLayout(layout);
    return definition;
}
