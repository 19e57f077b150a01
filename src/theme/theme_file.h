// Theme definition files: which encoding their bytes are in, and the values of their keys.
// Files written on any system are read alike, whatever the code page of the one reading them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class ThemeFileEncoding { kUtf16Le, kUtf8WithBom, kUtf8, kCp932 };

struct ThemeFileBytes {
    ThemeFileEncoding encoding;
    std::string_view payload;  // the bytes after the byte-order mark
};

// In this order: UTF-16LE with its byte-order mark, UTF-8 with its mark, valid UTF-8, and
// otherwise CP932, the code page older themes were written in.
ThemeFileBytes DetectThemeFileEncoding(std::string_view bytes);

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
