// Libraries loaded from where they belong. A library found through the current folder or the
// PATH could be any file planted there under its name, and would run inside this process.
#pragma once

#include <windows.h>

#include <string>

// Takes the current folder out of this process's library search. Where the system has it, the
// search is then only the program's folder and the system folder.
void RestrictLibrarySearch();

// A library of the system, from the system folder only; nullptr when it is not there.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The full path of a file in the program's own folder; empty when the program's path cannot be read.
std::wstring PathBesideProgram(const wchar_t* name);

// A library from the program's own folder only; nullptr when it is not there.
HMODULE LoadLibraryBesideProgram(const wchar_t* name);
