// The profile as a text a person can read, edit and back up: sections of named values, each an
// integer or a string, written so that every value reads back exactly as it was written.
//
//   [Section]            a section; its name in quotes when it holds ']', blanks at its ends or
//                        control characters
//   Name=123             an integer: an optional sign and decimal digits within 32 bits
//   Name=text            a string, bare when it reads back as itself: no blanks at its ends, no
//                        control characters, no leading quote, and not an integer
//   Name="te\"xt\n"      any other string, in quotes: \\ \" \n \r \t and \xHH inside them
//   "Na=me "=...         a name in quotes when it holds '=', blanks at its ends or control
//                        characters, or starts with a quote, ';' or '['
//   ; comment            ignored, as are blank lines and lines without '='
//
// Backslashes outside quotes are plain characters (paths stay readable). Names compare without
// ASCII case, as the registry's do; a name's first line is the one read.
#pragma once

#include <map>
#include <string>
#include <string_view>

struct ProfileValue {
    bool isNumber = false;
    int number = 0;
    std::string text;  // for a string

    bool operator==(const ProfileValue& other) const;
    bool operator!=(const ProfileValue& other) const { return !(*this == other); }
};

// Orders names without ASCII case and with runs of digits by their value, so that Button2 comes
// before Button10 in the file; names equal under this order are the same name.
struct ProfileNameLess {
    bool operator()(std::string_view a, std::string_view b) const;
};

using ProfileSection = std::map<std::string, ProfileValue, ProfileNameLess>;
using ProfileSections = std::map<std::string, ProfileSection, ProfileNameLess>;

ProfileSections ParseProfileIni(std::string_view text);

// Takes the next line that says something off TEXT: a CR or an LF ends a line, as for the
// system's profile reader; the line comes trimmed, and empty lines and comments (';') are
// passed over. False once TEXT is used up. Theme files are read line by line with it too.
bool TakeIniLine(std::string_view& text, std::string_view& line);

// The text of the file in UTF-8, starting with its byte-order mark.
std::string FormatProfileIni(const ProfileSections& sections);
