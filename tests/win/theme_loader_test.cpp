// Theme loading into the settings record from real files in a scratch current directory.
#include "theme/theme_loader.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/registry_profile.h"
#include "settings/kestrovar_settings.h"
#include "support/theme_scratch.h"
#include "text/unicode.h"

namespace {

constexpr char kCompany[] = "KvThemeLoaderTest";
constexpr char kApplication[] = "Kestrovar";

class ThemeLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteProfile(); }
    void TearDown() override { DeleteProfile(); }
    static void DeleteProfile() { SHDeleteKeyA(HKEY_CURRENT_USER, (std::string("Software\\") + kCompany).c_str()); }

    // Loads `theme` into a fresh settings record.
    int Load(const std::string& theme) {
        settings.Theme = theme;
        return settings.LoadTheme();
    }

    void WriteBody(const std::string& theme, int width, int height) {
        scratch.WriteThemeFile(theme, "body.bmp", kvtest::MakeSolidBmp(width, height, RGB(40, 50, 60)));
    }

    kvtest::ThemeScratch scratch;
    RegistryProfile profile{kCompany, kApplication};
    CKestrovarSettings settings{profile};
};

SIZE SizeOf(const UniqueBitmap& bitmap) {
    return BitmapSize(bitmap.get());
}

// The layout a theme gives the launcher as one text: colour key, grid, button size and
// spacing, and where the grid starts on the body.
std::string LayoutOf(const CKestrovarSettings& s) {
    char text[128];
    snprintf(text, sizeof(text), "key %06X, %dx%d buttons of %dx%d, %d apart, from %d,%d",
             static_cast<unsigned>(s.ColorKey), s.Col, s.Row, s.ButtonWidth, s.ButtonHeight, s.ButtonSpace,
             s.ButtonOriginX, s.ButtonOriginY);
    return text;
}

TEST_F(ThemeLoaderTest, SampleThemesLoadCompletelyAndTheirGridsFitTheirBodies) {
    ASSERT_TRUE(scratch.CopySampleThemes());
    std::vector<std::string> themes;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.Directory() + "\\Themes"))
        themes.push_back(entry.path().filename().string());
    ASSERT_GE(themes.size(), 2u);

    for (const std::string& theme : themes) {
        SCOPED_TRACE(theme);
        ASSERT_EQ(1, Load(theme));
        ASSERT_TRUE(settings.Skin.Body);
        EXPECT_TRUE(settings.Skin.Button);
        EXPECT_TRUE(settings.Skin.ButtonOnMouse);
        EXPECT_TRUE(settings.Skin.ButtonDown);
        const SIZE body = SizeOf(settings.Skin.Body);
        const int gridRight = settings.ButtonOriginX + settings.Col * (settings.ButtonWidth + settings.ButtonSpace) -
                              settings.ButtonSpace;
        const int gridBottom = settings.ButtonOriginY + settings.Row * (settings.ButtonHeight + settings.ButtonSpace) -
                               settings.ButtonSpace;
        EXPECT_LE(gridRight, body.cx);
        EXPECT_LE(gridBottom, body.cy);
        EXPECT_GE(settings.ButtonOriginX, 1);
        EXPECT_GE(settings.ButtonOriginY, 1);
    }
}

TEST_F(ThemeLoaderTest, OwnGridButtonSizeAndColourKeyOfATheme) {
    ASSERT_TRUE(scratch.CopySampleThemes());
    settings.Col = 9;
    settings.Row = 9;
    ASSERT_EQ(1, Load("Sandstone"));
    EXPECT_EQ("key 00FF00, 4x3 buttons of 30x24, 4 apart, from 10,20", LayoutOf(settings));

    // The theme's values are what the profile receives at the next save.
    settings.SaveSettings();
    RegistryProfile reread(kCompany, kApplication);
    EXPECT_EQ(4, reread.GetInt("Design", "Col", 0));
    EXPECT_EQ(3, reread.GetInt("Design", "Row", 0));
    EXPECT_EQ(30, reread.GetInt("Design", "ButtonWidth", 0));
    EXPECT_EQ(24, reread.GetInt("Design", "ButtonHeight", 0));

    ASSERT_EQ(1, Load("Graphite"));
    EXPECT_EQ(0x00FF00FFu, settings.ColorKey);
    EXPECT_EQ(6, settings.Col);
    EXPECT_EQ(2, settings.Row);
}

TEST_F(ThemeLoaderTest, ABodyAloneTakesTheDefaultsAndKeepsTheButtonSize) {
    scratch.WriteDefinition("Blue", "[Design]\r\nBodyImage=body.bmp\r\n");
    WriteBody("Blue", 40, 20);
    settings.ButtonWidth = 41;
    settings.ButtonHeight = 43;
    settings.IconSize = 32;
    settings.Col = 9;

    ASSERT_EQ(1, Load("Blue"));
    ASSERT_TRUE(settings.Skin.Body);
    EXPECT_EQ(40, SizeOf(settings.Skin.Body).cx);
    EXPECT_EQ(20, SizeOf(settings.Skin.Body).cy);
    EXPECT_FALSE(settings.Skin.Button);
    EXPECT_FALSE(settings.Skin.ButtonOnMouse);
    EXPECT_FALSE(settings.Skin.ButtonDown);
    EXPECT_EQ("key FF00FF, 6x2 buttons of 41x43, 3 apart, from 3,3", LayoutOf(settings));
    EXPECT_EQ(16, settings.IconSize);
}

TEST_F(ThemeLoaderTest, ThemesThatCannotBeLoadedLeaveNoBitmapsAndTheLayoutUntouched) {
    ASSERT_TRUE(scratch.CopySampleThemes());
    scratch.WriteDefinition("NoBody", "[Design]\r\nColorKey=0x0000ff\r\nButtonImage=b.bmp\r\nXButton=4\r\n");
    scratch.WriteThemeFile("NoBody", "b.bmp", kvtest::MakeSolidBmp(30, 24, RGB(1, 2, 3)));
    scratch.WriteThemeFile("NoDefinition", "body.bmp", kvtest::MakeSolidBmp(30, 24, RGB(1, 2, 3)));

    struct Case {
        const char* theme;
        uint32_t colorKey;
    };
    for (const Case& c : {Case{"NoBody", 0x000000FFu}, Case{"NoDefinition", 0x00FF00FFu}, Case{"Missing", 0x00FF00FFu},
                          Case{"", 0x00FF00FFu}}) {
        SCOPED_TRACE(c.theme);
        ASSERT_EQ(1, Load("Graphite"));  // a previous theme is released by the failed load
        settings.Col = 7;
        settings.IconSize = 32;
        settings.ButtonWidth = 50;
        EXPECT_EQ(0, Load(c.theme));
        EXPECT_FALSE(settings.Skin.Body);
        EXPECT_FALSE(settings.Skin.Button);
        EXPECT_FALSE(settings.Skin.ButtonOnMouse);
        EXPECT_FALSE(settings.Skin.ButtonDown);
        EXPECT_EQ(c.colorKey, settings.ColorKey);
        EXPECT_EQ(0, settings.ButtonOriginX);
        EXPECT_EQ(0, settings.ButtonOriginY);
        EXPECT_EQ(7, settings.Col);
        EXPECT_EQ(32, settings.IconSize);
        EXPECT_EQ(50, settings.ButtonWidth);
    }
}

TEST_F(ThemeLoaderTest, UnreadableBitmapsAreAbsentAndATinyOneIsKept) {
    const std::string notBmp = "this is a text file, not a bitmap\r\n";
    // A header that claims 30000 x 30000 pixels in a file of a few bytes.
    std::string truncated = kvtest::MakeSolidBmp(2, 2, RGB(9, 9, 9));
    auto* info = reinterpret_cast<BITMAPINFOHEADER*>(&truncated[sizeof(BITMAPFILEHEADER)]);
    info->biWidth = 30000;
    info->biHeight = 30000;
    info->biSizeImage = 0;

    for (const std::string& content : {std::string(), notBmp, truncated}) {
        SCOPED_TRACE(content.size());
        scratch.WriteDefinition("Broken",
                                "[Design]\r\nBodyImage=body.bmp\r\nButtonImage=button.bmp\r\n"
                                "ButtonOnMouseImage=gone.bmp\r\n");
        scratch.WriteThemeFile("Broken", "body.bmp", content);
        scratch.WriteThemeFile("Broken", "button.bmp", content);
        settings.ButtonWidth = 22;
        settings.ButtonHeight = 22;
        // The body was named: the loader reports it, and the missing bitmap sends the layout to
        // the plain look.
        EXPECT_EQ(1, Load("Broken"));
        EXPECT_FALSE(settings.Skin.Body);
        EXPECT_FALSE(settings.Skin.Button);
        EXPECT_FALSE(settings.Skin.ButtonOnMouse);
        EXPECT_EQ(22, settings.ButtonWidth);
        EXPECT_EQ(22, settings.ButtonHeight);
    }

    scratch.WriteDefinition("Tiny", "[Design]\r\nBodyImage=body.bmp\r\nButtonImage=body.bmp\r\n");
    WriteBody("Tiny", 1, 1);
    ASSERT_EQ(1, Load("Tiny"));
    ASSERT_TRUE(settings.Skin.Body);
    EXPECT_EQ(1, SizeOf(settings.Skin.Body).cx);
    EXPECT_EQ(1, settings.ButtonWidth);
    EXPECT_EQ(1, settings.ButtonHeight);
}

TEST_F(ThemeLoaderTest, AbsurdNumbersAreClamped) {
    WriteBody("Wild", 10, 10);
    scratch.WriteDefinition("Wild",
                            "[Design]\r\nBodyImage=body.bmp\r\nIconSize=-16\r\nButtonSpace=99999999999\r\n"
                            "XButton=2147483647\r\nYButton=-5\r\n[Position]\r\nx=-100\r\ny=1e9\r\n");
    ASSERT_EQ(1, Load("Wild"));
    EXPECT_EQ(ThemeLimits::kMinIconSize, settings.IconSize);
    EXPECT_EQ(ThemeLimits::kMaxButtonSpace, settings.ButtonSpace);
    EXPECT_EQ(ThemeLimits::kMaxButtons, settings.Col);
    EXPECT_EQ(ThemeLimits::kMinButtons, settings.Row);
    EXPECT_EQ(ThemeLimits::kMinPosition, settings.ButtonOriginX);
    EXPECT_EQ(1, settings.ButtonOriginY);  // atoi stops at the 'e'

    scratch.WriteDefinition("Wild", "[Design]\r\nBodyImage=body.bmp\r\nColorKey=purple\r\nXButton=4 columns\r\n");
    ASSERT_EQ(1, Load("Wild"));
    EXPECT_EQ(0u, settings.ColorKey);  // no hex digit after the first two characters
    EXPECT_EQ(4, settings.Col);
}

TEST_F(ThemeLoaderTest, EditsToAThemeShowAtTheNextLoadAndOldBitmapsAreFreed) {
    scratch.WriteDefinition("Live", "[Design]\r\nBodyImage=body.bmp\r\n");
    WriteBody("Live", 30, 10);
    ASSERT_EQ(1, Load("Live"));
    HBITMAP first = settings.Skin.Body.get();
    EXPECT_EQ(30, SizeOf(settings.Skin.Body).cx);

    WriteBody("Live", 50, 12);
    ASSERT_EQ(1, Load("Live"));
    EXPECT_EQ(50, SizeOf(settings.Skin.Body).cx);
    EXPECT_EQ(12, SizeOf(settings.Skin.Body).cy);
    if (settings.Skin.Body.get() != first) {
        BITMAP info;
        EXPECT_EQ(0, GetObjectA(first, sizeof(info), &info));  // deleted by the reload
    }
}

TEST_F(ThemeLoaderTest, OverLongPathsCountAsMissingFiles) {
    const std::string longName(300, 'n');
    EXPECT_EQ(0, Load(longName));
    EXPECT_FALSE(settings.Skin.Body);

    const std::string directory = scratch.Directory();
    // "<dir>\Themes\<theme>\<file>" is 8 + 1 + 1 bytes longer than the three parts.
    const size_t room = kThemeTextUnits - 1 - directory.size() - 10;
    const std::string fits(room, 'f');
    EXPECT_EQ(directory + "\\Themes\\t\\" + fits, ThemeFilePath(directory, "t", fits));
    EXPECT_EQ("", ThemeFilePath(directory, "t", fits + "x"));
    EXPECT_EQ("", ThemeDefinitionPath(directory, longName));
    EXPECT_EQ("", ThemeFilePath("", "t", "body.bmp"));
}

// A definition file in each encoding a theme may come in names the same Japanese bitmap, in a
// theme folder whose name no code page holds.
TEST_F(ThemeLoaderTest, DefinitionFilesInEveryEncodingNameTheSameBitmap) {
    const std::string text = "[Design]\r\nBodyImage=背景表.bmp\r\n";
    const std::wstring wide = Wide(text);
    const std::string utf16 =
        "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
    const std::pair<const char*, std::string> files[] = {
        {"cp932", "[Design]\r\nBodyImage=\x94\x77\x8C\x69\x95\x5C.bmp\r\n"},
        {"utf8", text},
        {"utf8 bom", "\xEF\xBB\xBF" + text},
        {"utf16", utf16},
    };
    for (const auto& [encoding, bytes] : files) {
        SCOPED_TRACE(encoding);
        const std::string theme = std::string("Thème 😀 ") + encoding;
        scratch.WriteDefinition(theme, bytes);
        scratch.WriteThemeFile(theme, "背景表.bmp", kvtest::MakeSolidBmp(20, 12, RGB(1, 2, 3)));
        EXPECT_EQ("背景表.bmp",
                  ReadThemeString(ThemeDefinitionPath(scratch.Directory(), theme), "Design", "BodyImage", ""));
        ASSERT_EQ(1, Load(theme));
        EXPECT_EQ(20, SizeOf(settings.Skin.Body).cx);
    }
}

TEST_F(ThemeLoaderTest, DefinitionValuesAreReadAsBoundedText) {
    const std::string longValue(400, 'v');
    scratch.WriteDefinition("Text", "[Design]\r\nName=" + longValue + "\r\nNumber= 12px\r\n");
    const std::string file = ThemeDefinitionPath(scratch.Directory(), "Text");
    EXPECT_EQ(std::string(kThemeTextUnits - 1, 'v'), ReadThemeString(file, "Design", "Name", ""));
    EXPECT_EQ("dflt", ReadThemeString(file, "Design", "Absent", "dflt"));
    EXPECT_EQ(12, ReadThemeInt(file, "Design", "Number", 5));
    EXPECT_EQ(-5, ReadThemeInt(file, "Design", "Absent", -5));
    EXPECT_EQ(7, ReadThemeInt("", "Design", "Number", 7));
}

}  // namespace
