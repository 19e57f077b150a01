// Version strings of real files: the hook library built beside this test, a program whose only
// translation is US English (tools/kvversion0409), and files without a version resource.
#include "framework/version_info.h"

#include "support/own_paths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<BYTE> VersionBlock(const std::string& path) {
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    if (block.empty() || !GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()))
        block.clear();
    return block;
}

const std::string kHookLibrary = kvtest::OwnFolder() + "\\Kestrovar.dll";
const std::string kUsEnglishProgram = kvtest::OwnFolder() + "\\kvversion0409.exe";

TEST(VersionInfo, ReadsTheJapaneseStringTableOfTheHookLibrary) {
    EXPECT_EQ("Kestrovar ホイールクリック監視ライブラリ", GetFileDescription(kHookLibrary));
    EXPECT_EQ("3.0.7.3", GetFileVersion(kHookLibrary));
    // A bare module name is found by the library search, which starts in the program's folder.
    EXPECT_EQ("3.0.7.3", GetFileVersion("Kestrovar.dll"));
}

TEST(VersionInfo, ReadsTheFirstTranslationWhateverItIs) {
    EXPECT_EQ("Version probe (US English)", GetFileDescription(kUsEnglishProgram));
    EXPECT_EQ("1.2.3.4", GetFileVersion(kUsEnglishProgram));

    const std::vector<BYTE> block = VersionBlock(kUsEnglishProgram);
    ASSERT_FALSE(block.empty());
    EXPECT_EQ("1.2.3.4", QueryVersionString(block, 0x0409, 0x04E4, "FileVersion"));
    EXPECT_EQ("", QueryVersionString(block, 0x0411, 0x04B0, "FileVersion"));
    EXPECT_EQ("", QueryVersionString(block, 0x0409, 0x04E4, "CompanyName"));
    EXPECT_EQ("", QueryVersionString({}, 0x0409, 0x04E4, "FileVersion"));
}

TEST(VersionInfo, AnythingWithoutAVersionResourceGivesEmptyStrings) {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof(temp), temp);
    const std::string textFile = std::string(temp) + "kv_version_info_test.txt";
    std::ofstream(textFile) << "FileDescription FileVersion StringFileInfo\n";

    for (const std::string& path : {textFile, kHookLibrary + " /arguments", std::string(temp) + "missing.exe",
                                    std::string(), std::string(400, 'x')}) {
        SCOPED_TRACE(path);
        EXPECT_EQ("", GetFileDescription(path));
        EXPECT_EQ("", GetFileVersion(path));
    }
    DeleteFileA(textFile.c_str());
}

}  // namespace
