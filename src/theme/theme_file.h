// Theme definition files: the values of their keys (their bytes are decoded by text/text_file.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The value of key in section of a definition text (UTF-8), read as the system's profile
// functions read one: names compare without ASCII case, blanks around names and values are
// dropped, a value in a pair of quotes loses them, the first section of a name is the one read,
// and a carriage return alone ends a line too.
// defaultValue (its trailing blanks dropped) when there is no such key. The result holds at
// most maxUnits - 1 UTF-16 units, as the system's buffer of maxUnits would.
std::string ThemeFileValue(std::string_view text,
                           std::string_view section,
                           std::string_view key,
                           std::string_view defaultValue,
                           size_t maxUnits);
