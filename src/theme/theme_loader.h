// Reading a theme folder: the definition file Themes\<name>\<name>.kvs and the bitmaps it names.
// The launcher's settings record and the theme preview window both read themes through
// ReadThemeDefinition and differ only in which of its values they keep.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/dib_canvas.h"
#include "framework/handles.h"
#include "theme/theme_values.h"

// Paths and definition values fit into buffers of this many UTF-16 units, as MAX_PATH-era files
// expect.
inline constexpr size_t kThemeTextUnits = MAX_PATH;
// The folder of theme folders.
inline constexpr char kThemesFolderName[] = "Themes";

inline constexpr char kDefaultColorKeyText[] = "0xFF00FF";

// Integer key of a definition file with the atoi rule; the default when the file or key is absent.
int ReadThemeInt(const std::string& file, const char* section, const char* key, int defaultValue);
// String key of a definition file, at most kThemeTextUnits - 1 UTF-16 units.
std::string ReadThemeString(const std::string& file,
                            const char* section,
                            const char* key,
                            const std::string& defaultValue);
// The text of a definition file in UTF-8, whichever encoding it is in; empty when unreadable.
std::string ReadThemeFileText(const std::string& file);

// "<directory>\Themes\<theme>\<file>", or empty when it would not fit into kThemeTextUnits
// (such a path is treated as a file that does not exist).
std::string ThemeFilePath(const std::string& directory, const std::string& theme, const std::string& file);
// The definition file path of a theme, with the same bound.
std::string ThemeDefinitionPath(const std::string& directory, const std::string& theme);

// The folder that holds the Themes folder: the program's own folder when it has one, else the
// current directory as it was at the first call. Found once (the application asks at start), so
// a later change of the current directory never moves the themes. Empty when the path does not
// fit into kThemeTextUnits.
const std::string& ThemesHome();
// "<ThemesHome()>\Themes", or empty when ThemesHome() is.
std::string ThemesFolder();

// A bitmap file loaded as a DIB section; absent when the file is missing or is not a usable
// bitmap (unreadable, zero bytes, not a BMP, no pixels).
UniqueBitmap LoadThemeBitmap(const std::string& path);

// A copy of bitmap with every pixel made a factor x factor block, as a 32-bit DIB section: the
// colours stay exact, so colour keys still match. Absent when factor is below 2, the bitmap is
// absent or the copy would have an edge longer than BmpLimits::kMaxEdge.
UniqueBitmap EnlargedBitmap(HBITMAP bitmap, int factor);

struct ThemeDefinition {
    // False when the definition file is missing or names no BodyImage: the theme is not loaded
    // and nothing below but ColorKey is read.
    bool BodyNamed = false;
    uint32_t ColorKey = 0x00FF00FF;
    // Each absent when not named or not loadable. A named body that fails to load leaves
    // BodyNamed true and Body absent, which callers treat like a missing theme.
    UniqueBitmap Body;
    UniqueBitmap Button;
    UniqueBitmap ButtonOnMouse;
    UniqueBitmap ButtonDown;
    // Clamped to ThemeLimits.
    ThemeLayout Layout;
};

// Reads the theme `theme` below "<directory>\Themes".
ThemeDefinition ReadThemeDefinition(const std::string& directory, const std::string& theme);
