// Character-aware scanning of CP932 text held in std::string.
//
// A CP932 character is one byte, or a lead byte (0x81-0x9F, 0xE0-0xFC) followed by a trail
// byte. Trail bytes overlap ASCII ('\\' 0x5C, '|' 0x7C, '@' ...), so a plain byte search can
// match in the middle of a character; every scan in the program goes through these helpers.
#pragma once

#include <cstddef>
#include <string>

bool IsLeadByte(unsigned char byte);

// Position of the character after the one starting at pos. A lead byte in the last position
// counts as a single-byte character. Positions at or past the end return text.size().
size_t NextCharPos(const std::string& text, size_t pos);

// First occurrence of needle at a character boundary at or after from (which must itself be a
// boundary), or std::string::npos. An empty needle is found at from.
size_t FindMbcs(const std::string& text, const std::string& needle, size_t from = 0);

// First character equal to the single byte c at or after from; trail bytes never match.
size_t FindCharMbcs(const std::string& text, char c, size_t from = 0);
