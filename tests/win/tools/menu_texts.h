// The bargain between kvprobe and kvmenutexts.dll, which kvprobe loads into the process that
// shows a popup menu to read its texts there.
#pragma once

#include <cstddef>

constexpr wchar_t kMenuTextsLibrary[] = L"kvmenutexts.dll";
constexpr char kMenuTextsFunction[] = "kvMenuTexts";
constexpr size_t kMenuTextUnits = 16384;  // the size of the buffer the function fills, in UTF-16 units
