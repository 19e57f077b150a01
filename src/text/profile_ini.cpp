#include "text/profile_ini.h"

#include <climits>
#include <cstdint>

#include "text/ascii.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool ParseInteger(std::string_view text, int& value) {
    size_t pos = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (pos == text.size())
        return false;
    int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        if (!IsDigit(text[pos]))
            return false;
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > static_cast<int64_t>(INT_MAX) + 1)
            return false;
    }
    const int64_t signedValue = text[0] == '-' ? -magnitude : magnitude;
    if (signedValue > INT_MAX)
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

// Whether a text written as it is would read back as the same string.
bool NeedsQuotes(std::string_view text, std::string_view alsoSpecial, bool specialStart) {
    if (text.empty())
        return specialStart;  // an empty name must be visible; an empty string is "Name="
    if (IsAsciiBlank(text.front()) || IsAsciiBlank(text.back()) || text.front() == '"')
        return true;
    if (specialStart && (text.front() == ';' || text.front() == '['))
        return true;
    for (char c : text) {
        if (IsControl(c) || alsoSpecial.find(c) != std::string_view::npos)
            return true;
    }
    return false;
}

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (IsControl(c)) {
                    const auto byte = static_cast<unsigned char>(c);
                    out += {'\\', 'x', kHexDigits[byte >> 4], kHexDigits[byte & 15]};
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

int HexValue(char c) {
    if (IsDigit(c))
        return c - '0';
    c = AsciiLower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// Reads a quoted text at the start of line (which starts with the quote); returns the rest of
// the line after the closing quote, or false when the quote is not closed.
bool Unquote(std::string_view& line, std::string& out) {
    out.clear();
    for (size_t pos = 1; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') {
            line.remove_prefix(pos + 1);
            return true;
        }
        if (c != '\\' || pos + 1 == line.size()) {
            out += c;
            continue;
        }
        c = line[++pos];
        if (c == 'n') {
            out += '\n';
        } else if (c == 'r') {
            out += '\r';
        } else if (c == 't') {
            out += '\t';
        } else if (c == 'x' && pos + 2 < line.size() && HexValue(line[pos + 1]) >= 0 && HexValue(line[pos + 2]) >= 0) {
            out += static_cast<char>(HexValue(line[pos + 1]) * 16 + HexValue(line[pos + 2]));
            pos += 2;
        } else {
            out += c;  // \\, \" and any other escaped character stand for themselves
        }
    }
    return false;
}

// A name or section name: quoted, or the trimmed text.
std::string ReadName(std::string_view text) {
    text = TrimmedBlanks(text);
    std::string name;
    if (!text.empty() && text.front() == '"' && Unquote(text, name))
        return name;
    return std::string(text);
}

ProfileValue ReadValue(std::string_view text) {
    text = TrimmedBlanks(text);
    ProfileValue value;
    std::string unquoted;
    if (!text.empty() && text.front() == '"') {
        std::string_view rest = text;
        if (Unquote(rest, unquoted) && TrimmedBlanks(rest).empty()) {
            value.text = std::move(unquoted);
            return value;
        }
    }
    value.isNumber = ParseInteger(text, value.number);
    if (!value.isNumber)
        value.text = std::string(text);
    return value;
}

// Where the name of a value line ends: the first '=' outside a leading quoted name.
size_t NameEnd(std::string_view line) {
    if (line.front() == '"') {
        std::string ignored;
        std::string_view rest = line;
        if (Unquote(rest, ignored))
            return line.find('=', line.size() - rest.size());
    }
    return line.find('=');
}

std::string WriteValue(const ProfileValue& value) {
    if (value.isNumber)
        return std::to_string(value.number);
    int ignored = 0;
    if (NeedsQuotes(value.text, "", false) || ParseInteger(value.text, ignored))
        return Quoted(value.text);
    return value.text;
}

}  // namespace

bool ProfileValue::operator==(const ProfileValue& other) const {
    return isNumber == other.isNumber && (isNumber ? number == other.number : text == other.text);
}

bool ProfileNameLess::operator()(std::string_view a, std::string_view b) const {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            size_t endA = i, endB = j;
            while (endA < a.size() && IsDigit(a[endA]))
                ++endA;
            while (endB < b.size() && IsDigit(b[endB]))
                ++endB;
            // By value: fewer significant digits first, then digit by digit; then the shorter run
            // (fewer leading zeros), so that only equal runs compare equal.
            size_t sigA = i, sigB = j;
            while (sigA + 1 < endA && a[sigA] == '0')
                ++sigA;
            while (sigB + 1 < endB && b[sigB] == '0')
                ++sigB;
            const std::string_view digitsA = a.substr(sigA, endA - sigA), digitsB = b.substr(sigB, endB - sigB);
            if (digitsA.size() != digitsB.size())
                return digitsA.size() < digitsB.size();
            if (digitsA != digitsB)
                return digitsA < digitsB;
            if (endA - i != endB - j)
                return endA - i < endB - j;
            i = endA;
            j = endB;
            continue;
        }
        const auto x = static_cast<unsigned char>(AsciiLower(a[i])), y = static_cast<unsigned char>(AsciiLower(b[j]));
        if (x != y)
            return x < y;
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

bool TakeIniLine(std::string_view& text, std::string_view& line) {
    while (!text.empty()) {
        const size_t end = text.find_first_of("\r\n");
        line = TrimmedBlanks(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.front() != ';')
            return true;
    }
    return false;
}

ProfileSections ParseProfileIni(std::string_view text) {
    ProfileSections sections;
    ProfileSection* current = nullptr;
    std::string_view line;
    while (TakeIniLine(text, line)) {
        if (line.front() == '[') {
            const size_t close = line.rfind(']');
            current = close == std::string_view::npos ? nullptr : &sections[ReadName(line.substr(1, close - 1))];
            continue;
        }
        const size_t equals = NameEnd(line);
        if (!current || equals == std::string_view::npos)
            continue;
        current->emplace(ReadName(line.substr(0, equals)), ReadValue(line.substr(equals + 1)));
    }
    return sections;
}

std::string FormatProfileIni(const ProfileSections& sections) {
    std::string text(kUtf8Mark);
    for (const auto& [sectionName, values] : sections) {
        if (values.empty())
            continue;
        text += "[";
        text += NeedsQuotes(sectionName, "]", false) ? Quoted(sectionName) : sectionName;
        text += "]\r\n";
        for (const auto& [name, value] : values) {
            text += NeedsQuotes(name, "=", true) ? Quoted(name) : name;
            text += "=" + WriteValue(value) + "\r\n";
        }
    }
    return text;
}
