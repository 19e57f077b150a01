// The profile file against real files under Wine: one replacement per save pass, changes made
// elsewhere kept under the program's own, an unwritable file kept and reported once, and a save
// killed at any moment leaving a whole file.
#include "framework/ini_profile.h"
#include "settings/numbered_list_save.h"
#include "support/own_paths.h"
#include "support/registry_read.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <fstream>
#include <random>
#include <set>
#include <sstream>

namespace {

constexpr char kRegistryRoot[] = "Software\\KvIniTest\\Kestrovar";

std::string Slurp(const std::string& path) {
    std::ifstream in(Wide(path).c_str(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void Spill(const std::string& path, const std::string& bytes) {
    std::ofstream(Wide(path).c_str(), std::ios::binary | std::ios::trunc) << bytes;
}

std::string ItemText(int n) {
    return "tip" + std::to_string(n) + "*C:\\prog" + std::to_string(n) + ".exe";
}

class IniProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = Utf8(temp) + "kv_ini_profile_test";
        TearDown();
        CreateDirectoryW(Wide(folder_).c_str(), nullptr);
        path_ = folder_ + "\\Kestrovar.ini";
    }
    void TearDown() override {
        RemoveDirectoryW(Wide(folder_ + "\\Kestrovar.ini.tmp").c_str());
        DeleteFileW(Wide(folder_ + "\\Kestrovar.ini.tmp").c_str());
        DeleteFileW(Wide(folder_ + "\\Kestrovar.ini").c_str());
        RemoveDirectoryW(Wide(folder_).c_str());
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\KvIniTest");
    }
    std::string folder_, path_;
};

TEST_F(IniProfileTest, ASavePassIsOneReplacementAndReadsBack) {
    // Written by hand in UTF-16 with its mark: read by the same rules as theme files.
    const std::wstring hand = L"\xFEFF[Design]\r\nCol = 4\r\nTheme=デフォルト\r\n";
    Spill(path_, std::string(reinterpret_cast<const char*>(hand.data()), hand.size() * sizeof(wchar_t)));
    IniProfile profile(path_);
    ASSERT_TRUE(profile.Load());
    EXPECT_EQ(4, profile.GetInt("design", "COL", 0));
    EXPECT_EQ("デフォルト", profile.GetString("Design", "Theme", ""));
    EXPECT_EQ(9, profile.GetInt("Design", "Theme", 9));  // a string is no integer, as in the registry
    EXPECT_EQ("x", profile.GetString("Design", "Col", "x"));

    const std::string before = Slurp(path_);
    {
        const ProfileWriteBatch pass(profile);
        for (int n = 0; n < 300; ++n)
            profile.WriteString("Path Name", "Button" + std::to_string(n), ItemText(n) + "\n line");
        profile.WriteInt("Design", "Col", -3);
        profile.DeleteValue("Design", "Theme");
        EXPECT_EQ(before, Slurp(path_)) << "the file was written before the pass ended";
    }
    const std::string after = Slurp(path_);
    EXPECT_EQ(0u, after.find(
                      "\xEF\xBB\xBF[Design]\r\nCol=-3\r\n[Path Name]\r\nButton0=\"tip0*C:\\\\prog0.exe\\n line\"\r\n"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Wide(path_ + ".tmp").c_str()));
    IniProfile reread(path_);
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(-3, reread.GetInt("Design", "Col", 0));
    EXPECT_EQ("none", reread.GetString("Design", "Theme", "none"));
    EXPECT_EQ(ItemText(299) + "\n line", reread.GetString("Path Name", "Button299", ""));
    EXPECT_EQ(300u, reread.ReadSection("Path Name").size());
}

// Moving in: the registry profile is copied with its types and left as it was.
TEST_F(IniProfileTest, CopyFromRegistryKeepsTypesAndLeavesTheRegistry) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\KvIniTest\\Kestrovar\\Path Name", 0,
                                             nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    const DWORD number = 0xFFFFFFFF;
    const std::wstring text = L"メモ帳*C:\\windows\\notepad.exe";
    RegSetValueExW(key, L"Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    RegSetValueExW(key, L"Button0", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegSetValueExW(key, L"Blob", 0, REG_BINARY, reinterpret_cast<const BYTE*>("ab"), 2);
    RegCloseKey(key);
    const auto registryBefore = kvtest::ReadRegistrySection(std::string(kRegistryRoot) + "\\Path Name");

    Spill(path_, "");
    IniProfile profile(path_);
    ASSERT_TRUE(profile.Load());
    EXPECT_TRUE(profile.IsEmpty());
    profile.CopyFromRegistry(kRegistryRoot);
    IniProfile reread(path_);
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(-1, reread.GetInt("Path Name", "Count", 0));
    EXPECT_EQ(Utf8(text), reread.GetString("Path Name", "Button0", ""));
    EXPECT_EQ(2u, reread.ValueNames("Path Name").size());
    EXPECT_EQ(registryBefore, kvtest::ReadRegistrySection(std::string(kRegistryRoot) + "\\Path Name"));
}

// Another computer appended an item and changed a setting; this program then swaps two items
// (a save that passes through a spare index, the very one the other item now holds) and saves
// its unchanged settings again.
TEST_F(IniProfileTest, ChangesMadeElsewhereSurviveTheProgramsOwn) {
    Spill(path_, "[Design]\r\nCol=1\r\n[Path Name]\r\nButton0=A\r\nButton1=B\r\nButton2=C\r\n");
    IniProfile profile(path_);
    ASSERT_TRUE(profile.Load());
    Sleep(20);
    Spill(path_, "[Design]\r\nCol=7\r\n[Path Name]\r\nButton0=A\r\nButton1=B\r\nButton2=C\r\nButton3=X\r\n");
    {
        const ProfileWriteBatch pass(profile);
        profile.WriteInt("Design", "Col", 1);
        SaveNumberedList(profile, "Path Name", "Button", 10000, {{0, "B"}, {1, "A"}, {2, "C"}});
    }
    // And the save at exit, after deleting an item.
    SaveNumberedList(profile, "Path Name", "Button", 10000, {{0, "B"}, {1, "A"}});
    IniProfile reread(path_);
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(7, reread.GetInt("Design", "Col", 0));
    const std::map<std::string, std::string> expected = {{"Button0", "B"}, {"Button1", "A"}, {"Button3", "X"}};
    EXPECT_EQ(expected, reread.ReadSection("Path Name"));
}

// Changed elsewhere, but too large to read again: written over, it would lose that change.
TEST_F(IniProfileTest, AChangedFileThatCannotBeReadAgainIsNotWrittenOver) {
    Spill(path_, "[Design]\r\nCol=1\r\n");
    IniProfile profile(path_);
    ASSERT_TRUE(profile.Load());
    const std::string large = "[Design]\r\nCol=2\r\n;" + std::string(64 << 20, 'x');
    Spill(path_, large);
    int reports = 0;
    profile.onWriteFailed = [&] { ++reports; };
    profile.WriteInt("Design", "Row", 3);
    EXPECT_EQ(large.size(), Slurp(path_).size());
    EXPECT_EQ(1, reports);
}

TEST_F(IniProfileTest, AnUnwritableFileIsKeptAndReportedOnce) {
    const std::string original = "[Design]\r\nCol=1\r\n";
    Spill(path_, original);
    // The new file cannot be made beside it, as in a read-only folder.
    ASSERT_TRUE(CreateDirectoryW(Wide(path_ + ".tmp").c_str(), nullptr));
    IniProfile profile(path_);
    ASSERT_TRUE(profile.Load());
    int reports = 0;
    profile.onWriteFailed = [&] { ++reports; };
    profile.WriteInt("Design", "Col", 2);
    profile.WriteInt("Design", "Row", 3);
    EXPECT_EQ(1, reports);
    EXPECT_EQ(original, Slurp(path_));
    EXPECT_EQ(2, profile.GetInt("Design", "Col", 0));  // the program goes on with its settings
}

TEST_F(IniProfileTest, KillingASaveAtRandomMomentsLeavesAWholeFile) {
    Spill(path_, "");
    std::mt19937 random(31);
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(kvtest::RunToolAndKillAfter("kvsaveloop.exe", "--ini \"" + path_ + "\"", 100 + random() % 400));

        IniProfile reread(path_);
        ASSERT_TRUE(reread.Load());
        std::set<std::string> items;
        for (const auto& [name, value] : reread.ReadSection("Path Name"))
            items.insert(value);
        if (items.empty() && round == 0)
            continue;  // killed before its first save
        ASSERT_EQ(200u, items.size()) << "round " << round;
        for (int n = 0; n < 200; ++n)
            EXPECT_TRUE(items.count(ItemText(n))) << "round " << round << " lost " << ItemText(n);
    }
}

}  // namespace
