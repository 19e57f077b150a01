#include "text/patterns.h"

namespace {

bool MatchesPattern(const std::string& text, std::string pattern) {
    const bool leadingStar = !pattern.empty() && pattern.front() == '*';
    if (leadingStar)
        pattern.erase(0, 1);
    const bool trailingStar = !pattern.empty() && pattern.back() == '*';
    if (trailingStar)
        pattern.pop_back();

    const size_t length = pattern.size();
    if (leadingStar && trailingStar)
        return text.find(pattern) != std::string::npos;
    if (trailingStar)
        return text.size() >= length && text.compare(0, length, pattern) == 0;
    if (leadingStar)
        return text.size() >= length && text.compare(text.size() - length, length, pattern) == 0;
    return text == pattern;
}

}  // namespace

bool MatchesAny(const std::string& text, const std::vector<std::string>& patterns) {
    if (text.empty())
        return false;
    for (const std::string& pattern : patterns) {
        if (!pattern.empty() && MatchesPattern(text, pattern))
            return true;
    }
    return false;
}
