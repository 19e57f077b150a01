// Byte-level helpers for the ASCII part of UTF-8 text: the bytes of a multi-byte character are
// never blanks or letters here, so these are safe on any UTF-8 string.
#pragma once

#include <string_view>

inline bool IsAsciiBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

inline char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The text without blanks at either end. Line ends are not blanks: the readers split lines first.
inline std::string_view TrimmedBlanks(std::string_view text) {
    while (!text.empty() && IsAsciiBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsAsciiBlank(text.back()))
        text.remove_suffix(1);
    return text;
}
