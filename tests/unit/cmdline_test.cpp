#include "text/cmdline.h"

#include <gtest/gtest.h>

#include <map>

#include "items/launch_paths.h"
#include "items/menu_rules.h"
#include "text/patterns.h"
#include "text/unicode.h"

namespace {

constexpr unsigned long kFile = 0x20;
constexpr unsigned long kDirectory = 0x10;

struct FakeFileSystem {
    std::map<std::string, unsigned long> entries;
    std::vector<std::string> probed;

    PathProbe Probe() {
        return [this](const std::string& path) -> unsigned long {
            probed.push_back(path);
            auto it = entries.find(path);
            return it == entries.end() ? 0 : it->second;
        };
    }
};

struct Split {
    std::string program;
    std::string arguments;
};

Split SplitWith(FakeFileSystem& fs, const std::string& command) {
    Split split;
    SplitCommandLine(command, split.program, split.arguments, fs.Probe());
    return split;
}

void ExpectSplit(FakeFileSystem& fs, const std::string& command, const char* program, const char* arguments) {
    SCOPED_TRACE(command);
    const Split s = SplitWith(fs, command);
    EXPECT_EQ(s.program, program);
    EXPECT_EQ(s.arguments, arguments);
}

}  // namespace

TEST(SplitCommandLine, ProgramIsLongestExistingPrefix) {
    FakeFileSystem fs;
    fs.entries = {{"C:\\Program Files\\App\\app.exe", kFile},
                  {"C:\\Tools\\run", kDirectory},
                  {"C:\\Tools\\run now.exe", kFile},
                  {"C:\\Windows", kDirectory}};

    ExpectSplit(fs, "C:\\Program Files\\App\\app.exe -x -y", "C:\\Program Files\\App\\app.exe", "-x -y");
    // Every prefix, the whole command included, is tried from the shortest.
    EXPECT_EQ(fs.probed, (std::vector<std::string>{"C:\\Program", "C:\\Program Files\\App\\app.exe",
                                                   "C:\\Program Files\\App\\app.exe -x",
                                                   "C:\\Program Files\\App\\app.exe -x -y"}));

    ExpectSplit(fs, "C:\\Tools\\run now.exe /q", "C:\\Tools\\run now.exe", "/q");
    ExpectSplit(fs, "C:\\Windows", "C:\\Windows", "");
}

TEST(SplitCommandLine, NoExistingPrefixKeepsWholeCommandAndLeavesArgumentsAlone) {
    FakeFileSystem fs;
    Split s;
    s.arguments = "untouched";
    SplitCommandLine("notepad.exe readme.txt ", s.program, s.arguments, fs.Probe());
    EXPECT_EQ(s.program, "notepad.exe readme.txt");
    EXPECT_EQ(s.arguments, "untouched");

    fs.entries = {{"C:\\Windows", kDirectory}};  // quotes have no meaning
    s = SplitWith(fs, "\"C:\\Windows\"");
    EXPECT_EQ(s.program, "\"C:\\Windows\"");
}

TEST(SplitCommandLine, TrimsSpacesAroundBothParts) {
    FakeFileSystem fs;
    fs.entries = {{"C:\\a.exe", kFile}};
    ExpectSplit(fs, "C:\\a.exe   x  ", "C:\\a.exe", "x");
}

// Every path helper on names outside any one code page: their bytes hold no '\\', '*' or space
// that is not one.
TEST(TextHelpers, UnicodePathsFromOneTable) {
    struct Row {
        const char* command;
        const char* program;
        const char* arguments;
        const char* folder;
        const char* title;
        size_t programUnits;
    };
    const Row rows[] = {
        {"C:\\データ\\表\\x.exe -a", "C:\\データ\\表\\x.exe", "-a", "C:\\データ\\表\\", "x", 14},
        {"C:\\Café\\app.exe", "C:\\Café\\app.exe", "", "C:\\Café\\", "app", 15},
        {"C:\\한글\\😀.exe  능력 *", "C:\\한글\\😀.exe", "능력 *", "C:\\한글\\", "😀", 12},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        FakeFileSystem fs;
        fs.entries = {{row.program, kFile}, {row.folder, kDirectory}};
        ExpectSplit(fs, row.command, row.program, row.arguments);
        EXPECT_EQ(ProgramFolder(row.program), row.folder);
        EXPECT_EQ(FileTitle(row.program), row.title);
        EXPECT_EQ(Utf16Length(row.program), row.programUnits);
        const std::string title = row.title;
        EXPECT_EQ(StorableTooltip(title + "*" + title, row.command), title + "＊" + title);
        EXPECT_TRUE(MatchesAny(row.program, {std::string(row.folder) + "*"}));
        EXPECT_TRUE(MatchesAny(row.program, {"*" + title + ".exe"}));
        EXPECT_TRUE(MatchesAny(row.program, {"*\\" + title + "*"}));
        EXPECT_FALSE(MatchesAny(row.program, {"*\\" + title}));
        EXPECT_FALSE(CommandTargetChanged(row.program, row.command));
    }
}

TEST(Utf8, ValidityAndUnitBounds) {
    const std::pair<std::string, bool> validity[] = {
        {"Café 😀 表", true},     {"\xC3", false},         {"\xC0\xAF", false},
        {"\xE0\x80\xAF", false}, {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false},
        {"\x80", false},         {"\x95\x5C", false},
    };
    for (const auto& [text, valid] : validity)
        EXPECT_EQ(IsValidUtf8(text), valid) << text;
    // A cut never falls inside a character.
    EXPECT_EQ(Utf16Prefix("a😀b", 2), "a");
    EXPECT_EQ(Utf16Prefix("a😀b", 3), "a😀");
    EXPECT_EQ(Utf16Prefix("表示", 1), "表");
    EXPECT_EQ(Utf16Length("\xFF\xFE"), 2u);
}

TEST(FileTitle, NameWithoutFolderAndExtension) {
    EXPECT_EQ(FileTitle("C:\\Tools\\Kestrovar.exe"), "Kestrovar");
    EXPECT_EQ(FileTitle("C:/a.b/run.me.exe"), "run.me");
    EXPECT_EQ(FileTitle("plain"), "plain");
}

TEST(SplitString, FollowsTokenizerRules) {
    std::vector<std::string> list{"kept"};
    EXPECT_EQ(SplitString("*", list, "a*b"), 2);
    EXPECT_EQ(SplitString("*", list, "*a"), 1);
    EXPECT_EQ(SplitString("*", list, "a**b*"), 2);
    EXPECT_EQ(SplitString("*", list, ""), 0);
    EXPECT_EQ(SplitString("", list, "a"), 0);
    EXPECT_EQ(SplitString("*", list, "***"), 0);
    EXPECT_EQ(list, (std::vector<std::string>{"kept", "a", "b", "a", "a", "b"}));

    list.clear();
    EXPECT_EQ(SplitString(", ", list, " x, y ,z"), 3);
    EXPECT_EQ(list, (std::vector<std::string>{"x", "y", "z"}));
}

TEST(ReplaceFirstAndTrim, TurnListingEntryIntoName) {
    std::string name = "[Blue]";
    EXPECT_EQ(ReplaceFirst("[", " ", name), 1);
    EXPECT_EQ(name, " Blue]");
    EXPECT_EQ(ReplaceFirst("]", " ", name), 1);
    TrimSpaces(name);
    EXPECT_EQ(name, "Blue");

    std::string target = "abc";
    EXPECT_EQ(ReplaceFirst("b", "", target), 0);  // empty replacement refused
    EXPECT_EQ(ReplaceFirst("", "x", target), 0);
    EXPECT_EQ(ReplaceFirst("z", "x", target), 0);
    EXPECT_EQ(target, "abc");
}

TEST(ReplaceFirstAndTrim, OnlyAsciiSpacesAreTrimmed) {
    std::string text = " \t\r\n表　\v\f";  // the full-width space is never trimmed
    TrimSpaces(text);
    EXPECT_EQ(text, "表　");
    std::string blank = " \t ";
    TrimSpaces(blank);
    EXPECT_EQ(blank, "");
}

TEST(VolumeRootOf, DriveOrShareOfTheCommandsPath) {
    const std::pair<const char*, const char*> cases[] = {
        {"X:\\tools\\app.exe -p", "X:\\"},
        {"  d:\\a b\\c.exe", "d:\\"},
        {"\\\\server\\share\\dir\\app.exe", "\\\\server\\share\\"},
        {"//server/share", "//server/share\\"},
        {"\\\\表示\\共有\\a.exe", "\\\\表示\\共有\\"},
        {"\\\\server", ""},
        {"\\\\\\share\\a.exe", ""},
        {"\\\\server\\\\a.exe", ""},
        {"notepad.exe", ""},
        {"tools\\app.exe", ""},
        {"", ""},
    };
    for (const auto& [command, root] : cases)
        EXPECT_EQ(VolumeRootOf(command), root) << command;
}
