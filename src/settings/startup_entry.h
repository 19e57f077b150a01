// Starting the program with Windows: the value "Kestrovar" under the user's Run key, the place
// the system itself reads at logon. It is not part of the program's own profile.
#pragma once

#include <string>

#include "text/cmdline.h"

// The program a Run value's command names: the text inside its leading quotes, or else the
// longest space-delimited prefix that exists (the whole trimmed command when none does).
std::string RunCommandProgram(const std::string& command, const PathProbe& probe);

// The command written for a program: its full path in quotes, so that spaces need no guessing.
std::string RunCommandFor(const std::string& programPath);

// Whether the Run value names this very program: the same file, however its path is written
// (quoted or not, in any case, through another folder name).
bool IsStartedWithWindows();

// Writes the value with this program's path (start) or removes it; false when the registry
// refused. Removing a value that is not there succeeds.
bool SetStartedWithWindows(bool start);
