#include "settings/startup_entry.h"

#include <gtest/gtest.h>

TEST(StartupEntry, TheProgramOfARunCommandIsItsQuotedPathOrTheLongestExistingPrefix) {
    const PathProbe probe = [](const std::string& path) {
        return path == "C:\\Program Files\\Kestrovar\\Kestrovar.exe" ? 0x20ul : 0ul;
    };
    const struct {
        const char* command;
        const char* program;
    } cases[] = {
        {"\"C:\\Program Files\\Kestrovar\\Kestrovar.exe\"", "C:\\Program Files\\Kestrovar\\Kestrovar.exe"},
        {"  \"C:\\Tools\\Kestrovar.exe\" /min", "C:\\Tools\\Kestrovar.exe"},
        {"\"C:\\Tools\\Kestrovar.exe", "C:\\Tools\\Kestrovar.exe"},
        {"C:\\Program Files\\Kestrovar\\Kestrovar.exe /min", "C:\\Program Files\\Kestrovar\\Kestrovar.exe"},
        {"C:\\Gone\\Kestrovar.exe ", "C:\\Gone\\Kestrovar.exe"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RunCommandProgram(c.command, probe), c.program) << c.command;
    EXPECT_EQ(RunCommandFor("C:\\Program Files\\Kestrovar\\Kestrovar.exe"),
              "\"C:\\Program Files\\Kestrovar\\Kestrovar.exe\"");
}
