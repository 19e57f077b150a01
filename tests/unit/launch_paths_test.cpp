#include "items/launch_paths.h"

#include <gtest/gtest.h>

#include "settings/launch_item.h"

TEST(LaunchPaths, ProgramFolderIsDriveAndDirectory) {
    EXPECT_EQ(ProgramFolder("C:\\Program Files\\Tool\\tool.exe"), "C:\\Program Files\\Tool\\");
    EXPECT_EQ(ProgramFolder("C:\\x.exe"), "C:\\");
    EXPECT_EQ(ProgramFolder("C:x.exe"), "C:");
    EXPECT_EQ(ProgramFolder("notepad.exe"), "");
    EXPECT_EQ(ProgramFolder("\\\\server\\share\\a.exe"), "\\\\server\\share\\");
    EXPECT_EQ(ProgramFolder("C:/tools/a.exe"), "C:/tools/");
    EXPECT_EQ(ProgramFolder("C:\\dir\\表"), "C:\\dir\\");
    EXPECT_EQ(ProgramFolder(""), "");
}

TEST(LaunchPaths, OnlyCtrlAndShiftTogetherStartElevated) {
    const struct {
        bool control, shift;
        const char* verb;
    } cases[] = {{false, false, ""}, {true, false, ""}, {false, true, ""}, {true, true, "runas"}};
    for (const auto& c : cases)
        EXPECT_EQ(LaunchVerb(c.control, c.shift), c.verb) << "ctrl " << c.control << " shift " << c.shift;
}

TEST(LaunchPaths, WindowsDirectoryRootCutsAfterLastBackslash) {
    EXPECT_EQ(WindowsDirectoryRoot("C:\\windows"), "C:\\");
    EXPECT_EQ(WindowsDirectoryRoot("D:\\OS\\WINNT"), "D:\\OS\\");
    EXPECT_EQ(WindowsDirectoryRoot("C:\\"), "C:\\");
    EXPECT_EQ(WindowsDirectoryRoot("windows"), "");
}

TEST(LaunchPaths, FileDialogFilterIsNulSeparatedWithDoubleNulEnd) {
    const std::string filter = FileDialogFilter("全て(*.*)|*.*||");
    EXPECT_EQ(filter, std::string("全て(*.*)\0*.*\0\0", sizeof("全て(*.*)\0*.*\0\0") - 1));
    EXPECT_EQ(FileDialogFilter("a|b"), std::string("a\0b\0\0", 5));
}

TEST(LaunchPaths, RegisteredTooltipByTypeName) {
    int described = 0;
    auto describe = [&](const std::string& path) {
        ++described;
        return path == "C:\\a.exe" ? std::string("Text editor") : std::string();
    };
    EXPECT_EQ(RegisteredTooltip(kApplicationTypeName, "a", "C:\\a.exe", describe), "Text editor");
    EXPECT_EQ(RegisteredTooltip(kApplicationTypeName, "b", "C:\\b.exe", describe), "C:\\b.exe");
    EXPECT_EQ(described, 2);
    EXPECT_EQ(RegisteredTooltip("テキスト ドキュメント", "memo", "C:\\memo.txt", describe), "memo");
    EXPECT_EQ(RegisteredTooltip("", "", "C:\\memo.txt", describe), "C:\\memo.txt");
    EXPECT_EQ(RegisteredTooltip("exe file", "a.exe", "C:\\a.exe", describe), "a.exe");  // another language
    EXPECT_EQ(described, 2);
    // A '*' in a description would split the stored item apart.
    EXPECT_EQ(RegisteredTooltip("", "x*y", "C:\\x.txt", describe), "x＊y");
}
