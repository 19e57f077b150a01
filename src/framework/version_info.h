// One string from a file's version resource, read from the first translation the file lists.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The FileDescription string of a file (a path, or a module name found by the system's library
// search), or empty when the file, its version resource, its translation list or the key is missing.
std::string GetFileDescription(const std::string& path);
// The FileVersion string, with the same rules.
std::string GetFileVersion(const std::string& path);

// The value of `key` in the string table "\StringFileInfo\<language><codePage>\" of a version
// block filled by GetFileVersionInfoW; empty when absent. The copy is bounded by the block.
std::string QueryVersionString(const std::vector<BYTE>& block, WORD language, WORD codePage, const char* key);
