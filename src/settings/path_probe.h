// The file system probe that command splitting uses in the program.
#pragma once

#include <string>

#include "text/cmdline.h"

// Attributes of the file or folder that path names, 0 when there is none. '*' and '?' are never
// wildcards: a path that holds one names nothing. Folders carry FILE_ATTRIBUTE_DIRECTORY.
unsigned long GetPathAttributes(const std::string& path);

// GetPathAttributes as a PathProbe for SplitCommandLine.
const PathProbe& FileSystemProbe();

// Whether the drive or share that a command's path lies on does not answer (an unplugged stick,
// a sleeping share, a drive letter that points nowhere). Its items are kept: their programs
// may be back when it is. False for relative paths and bare program names.
bool IsVolumeUnreachable(const std::string& command);
