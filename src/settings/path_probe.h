// The file system probe that command splitting uses in the program.
#pragma once

#include <string>

#include "settings/cmdline.h"

// Attributes of the first file or folder that a search for path (which may hold * and ?)
// finds, 0 when nothing matches. Folders carry FILE_ATTRIBUTE_DIRECTORY.
unsigned long GetPathAttributes(const std::string& path);

// GetPathAttributes as a PathProbe for SplitCommandLine.
const PathProbe& FileSystemProbe();
