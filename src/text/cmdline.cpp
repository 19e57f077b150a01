#include "text/cmdline.h"

#include <cctype>

namespace {

bool IsSpaceByte(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

void SplitCommandLine(const std::string& command,
                      std::string& program,
                      std::string& arguments,
                      const PathProbe& probe) {
    // The appended space lets the loop below try the whole command as a prefix too.
    const std::string work = command + " ";
    size_t bestLength = 0;
    bool found = false;
    for (size_t pos = 0; pos < work.size();) {
        const size_t space = work.find(' ', pos);
        if (space == std::string::npos)
            break;
        if (space > 0 && probe(work.substr(0, space)) != 0) {
            bestLength = space;
            found = true;
        }
        pos = space + 1;
    }
    if (found) {
        program = work.substr(0, bestLength);
        arguments = work.substr(bestLength + 1);
    } else {
        program = work;
    }
    TrimSpaces(program);
    TrimSpaces(arguments);
}

int SplitString(const std::string& delimiters, std::vector<std::string>& list, const std::string& text) {
    if (delimiters.empty() || text.empty())
        return 0;
    int count = 0;
    size_t pos = 0;
    while (true) {
        const size_t start = text.find_first_not_of(delimiters, pos);
        if (start == std::string::npos)
            break;
        const size_t end = text.find_first_of(delimiters, start);
        list.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        ++count;
        if (end == std::string::npos)
            break;
        pos = end;
    }
    return count;
}

int ReplaceFirst(const std::string& find, const std::string& replacement, std::string& target) {
    if (find.empty() || replacement.empty() || target.empty())
        return 0;
    const size_t pos = target.find(find);
    if (pos == std::string::npos)
        return 0;
    target.replace(pos, find.size(), replacement);
    return 1;
}

std::string FileTitle(const std::string& path) {
    size_t nameStart = 0;
    size_t dot = std::string::npos;  // last '.' of the name
    for (size_t pos = 0; pos < path.size(); ++pos) {
        if (path[pos] == '\\' || path[pos] == '/') {
            nameStart = pos + 1;
            dot = std::string::npos;
        } else if (path[pos] == '.') {
            dot = pos;
        }
    }
    const size_t nameEnd = dot == std::string::npos ? path.size() : dot;
    return path.substr(nameStart, nameEnd - nameStart);
}

void TrimSpaces(std::string& text) {
    size_t end = text.size();
    while (end > 0 && IsSpaceByte(text[end - 1]))
        --end;
    size_t begin = 0;
    while (begin < end && IsSpaceByte(text[begin]))
        ++begin;
    text = text.substr(begin, end - begin);
}

namespace {

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

// The first '\\' or '/' at or after from, or text.size().
size_t NextSeparator(const std::string& text, size_t from) {
    size_t pos = from;
    while (pos < text.size() && !IsPathSeparator(text[pos]))
        ++pos;
    return pos;
}

}  // namespace

std::string VolumeRootOf(const std::string& command) {
    std::string text = command;
    TrimSpaces(text);
    if (text.size() >= 2 && text[1] == ':' && std::isalpha(static_cast<unsigned char>(text[0])))
        return text.substr(0, 2) + "\\";
    if (text.size() < 3 || !IsPathSeparator(text[0]) || !IsPathSeparator(text[1]))
        return std::string();
    const size_t serverEnd = NextSeparator(text, 2);
    if (serverEnd == 2 || serverEnd >= text.size())
        return std::string();
    const size_t shareEnd = NextSeparator(text, serverEnd + 1);
    if (shareEnd == serverEnd + 1)
        return std::string();
    return text.substr(0, shareEnd) + "\\";
}
