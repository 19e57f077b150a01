#include "settings/mbcs.h"

bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

size_t NextCharPos(const std::string& text, size_t pos) {
    if (pos >= text.size())
        return text.size();
    if (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size())
        return pos + 2;
    return pos + 1;
}

size_t FindMbcs(const std::string& text, const std::string& needle, size_t from) {
    if (from > text.size())
        return std::string::npos;
    if (needle.empty())
        return from;
    for (size_t pos = from; pos + needle.size() <= text.size(); pos = NextCharPos(text, pos)) {
        if (text.compare(pos, needle.size(), needle) == 0)
            return pos;
    }
    return std::string::npos;
}

size_t FindCharMbcs(const std::string& text, char c, size_t from) {
    for (size_t pos = from; pos < text.size(); pos = NextCharPos(text, pos)) {
        if (text[pos] == c)
            return pos;
    }
    return std::string::npos;
}
