// A scratch folder for theme tests: it becomes the current directory (the theme loaders read
// "Themes" relative to it), can receive the project's sample themes and hand-made broken ones,
// and is removed afterwards together with the previous current directory restored.
#pragma once

#include <windows.h>

#include <string>

namespace kvtest {

class ThemeScratch {
public:
    ThemeScratch();
    ~ThemeScratch();
    ThemeScratch(const ThemeScratch&) = delete;
    ThemeScratch& operator=(const ThemeScratch&) = delete;

    // The scratch folder (current directory while this object lives), without a trailing '\'.
    const std::string& Directory() const { return directory_; }

    // Copies the repository's Themes folder (from KV_SOURCE) into the scratch folder.
    // Returns false when it cannot be found.
    bool CopySampleThemes();

    // Writes Themes\<theme>\<file> with the given bytes, creating the folders.
    void WriteThemeFile(const std::string& theme, const std::string& file, const std::string& bytes);
    // Writes Themes\<theme>\<theme>.kvs.
    void WriteDefinition(const std::string& theme, const std::string& text);

private:
    std::string previous_;
    std::string directory_;
};

// A 24-bit bottom-up BMP file image of width x height pixels; pixelAt(x, y) gives each colour.
template <typename PixelAt>
std::string MakeBmp(int width, int height, PixelAt pixelAt) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const int imageBytes = rowBytes * height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageBytes;
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = imageBytes;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    for (int y = height - 1; y >= 0; --y) {
        std::string row(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            const COLORREF color = pixelAt(x, y);
            row[x * 3] = static_cast<char>(GetBValue(color));
            row[x * 3 + 1] = static_cast<char>(GetGValue(color));
            row[x * 3 + 2] = static_cast<char>(GetRValue(color));
        }
        bytes += row;
    }
    return bytes;
}

inline std::string MakeSolidBmp(int width, int height, COLORREF color) {
    return MakeBmp(width, height, [color](int, int) { return color; });
}

}  // namespace kvtest
