// Splitting of item commands, file titles and the small string operations every layer uses.
// Texts are UTF-8, which never puts an ASCII byte inside a character: scans are byte scans.
#pragma once

#include <functional>
#include <string>
#include <vector>

// File attributes of the file system entry a path names, 0 when there is none.
// The program passes GetPathAttributes; tests pass a fake file system.
using PathProbe = std::function<unsigned long(const std::string&)>;

// Splits a command such as "C:\Program Files\App\app.exe -x" into the longest space-delimited
// prefix that names an existing entry and the rest. Commands have no quoting: when no prefix
// exists the whole (trimmed) command is the program and arguments is left untouched.
void SplitCommandLine(const std::string& command, std::string& program, std::string& arguments, const PathProbe& probe);

// The root of the drive or share a command's path lies on: "X:\" for "x:\tools\a.exe -p" (the
// letter as written), "\\server\share\" for a UNC path, empty for a relative path or a bare
// program name (found through the current directory or the search path, always reachable).
std::string VolumeRootOf(const std::string& command);

// Appends the tokens of text separated by any byte of delimiters (runs count as one, no empty
// tokens) to list and returns how many were appended. Keeps no state between calls.
int SplitString(const std::string& delimiters, std::vector<std::string>& list, const std::string& text);

// Replaces the first occurrence of find in target. Returns 1 on success, 0
// when find is absent or any argument is empty (target is then unchanged).
int ReplaceFirst(const std::string& find, const std::string& replacement, std::string& target);

// Removes leading and trailing single-byte white space (0x20, 0x09-0x0D).
void TrimSpaces(std::string& text);

// The file name of a path without its extension: "Kestrovar" for "C:\Tools\Kestrovar.exe".
// Separators are '\' and '/'.
std::string FileTitle(const std::string& path);
