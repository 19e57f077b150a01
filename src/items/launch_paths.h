// Path and text rules of registering and launching items, free of any system call.
#pragma once

#include <functional>
#include <string>

// The shell's type name of executable programs on a Japanese system.
inline constexpr char kApplicationTypeName[] = "アプリケーション";

// The shell verb that starts a program elevated (the consent prompt of the system).
inline constexpr char kRunAsVerb[] = "runas";

// The shell verb of a launch by a click, from the modifier keys held at the click: Ctrl and Shift
// together start the item as administrator, as the taskbar and the Start menu do; any other keys,
// the item's default verb (empty).
std::string LaunchVerb(bool controlHeld, bool shiftHeld);

// Drive and directory part of a path, as _splitpath gives them joined: "C:\Tools\" for
// "C:\Tools\x.exe", "" for a bare file name. Separators are '\' and '/'.
std::string ProgramFolder(const std::string& path);

// The Windows directory cut after its last '\': "C:\" for "C:\windows". Empty when the
// directory has no '\' at all.
std::string WindowsDirectoryRoot(const std::string& windowsDirectory);

// Turns a filter of the form "text|pattern|...||" into the NUL-separated form of the open-file
// dialog, ending in two NULs.
std::string FileDialogFilter(const std::string& barSeparated);

// Tooltip text of a file registered on a button: the program's description (or its path) for
// an application, the shell's display name (or the path) for anything else.
// describe is called only for applications.
std::string RegisteredTooltip(const std::string& typeName,
                              const std::string& displayName,
                              const std::string& path,
                              const std::function<std::string(const std::string&)>& describe);
