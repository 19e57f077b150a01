#include "text/unicode.h"

namespace {

// Length of the valid UTF-8 sequence at text[pos], or 0 when none starts there.
size_t SequenceLength(std::string_view text, size_t pos) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;  // overlong
        if (lead == 0xED)
            high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;  // overlong
        if (lead == 0xF4)
            high = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (text.size() - pos < length || byte(1) < low || byte(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    }
    return length;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = SequenceLength(text, pos);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

size_t Utf16Length(std::string_view text) {
    size_t units = 0;
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = SequenceLength(text, pos);
        units += length == 4 ? 2 : 1;
        pos += length == 0 ? 1 : length;
    }
    return units;
}

std::string_view Utf16Prefix(std::string_view text, size_t units) {
    size_t pos = 0;
    size_t used = 0;
    while (pos < text.size()) {
        const size_t length = SequenceLength(text, pos);
        const size_t cost = length == 4 ? 2 : 1;
        if (used + cost > units)
            break;
        used += cost;
        pos += length == 0 ? 1 : length;
    }
    return text.substr(0, pos);
}
