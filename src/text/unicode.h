// Texts are UTF-8 inside the program and UTF-16 at the system boundary. The pure half below
// measures and checks UTF-8; the system half (unicode_win.cpp) converts, and is the only place
// that does.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Whether text is well-formed UTF-8: no stray trail bytes, no truncated or overlong sequences,
// no encoded surrogates and nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// The UTF-16 units text takes: one per character, two above U+FFFF. A byte that starts no
// valid sequence counts as one unit (it becomes U+FFFD).
size_t Utf16Length(std::string_view text);

// The longest start of text that takes at most units UTF-16 units, never cut inside a character.
std::string_view Utf16Prefix(std::string_view text, size_t units);

#ifdef _WIN32
// UTF-8 to UTF-16. Invalid bytes (which no text of ours holds) become U+FFFD.
std::wstring Wide(std::string_view utf8);

// UTF-16 to UTF-8 for texts that are only shown or matched (window titles, descriptions): an
// unpaired surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view wide);
std::string Utf8(const wchar_t* zeroTerminated);

// UTF-16 to UTF-8 for names that are stored, probed or launched: false, and out untouched, when
// the name holds an unpaired surrogate, which UTF-8 cannot carry without changing the name.
bool ExactUtf8(std::wstring_view wide, std::string& out);

// Bytes in code page 932 to UTF-8, whatever the system's own code page is.
std::string Cp932ToUtf8(std::string_view bytes);
#endif
