// Ignore patterns: the first line is the window text, the others are patterns. Matching never
// reads outside the texts, and a lone star matches every non-empty text.
#include "fuzz_input.h"
#include "text/patterns.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> lines = FuzzLines(data, size);
    std::vector<std::string> patterns(lines.begin() + 1, lines.end());
    bool matched = MatchesAny(lines[0], patterns);
    if (lines[0].empty())
        FUZZ_CHECK(!matched);
    patterns.push_back("*");
    FUZZ_CHECK(MatchesAny(lines[0], patterns) == !lines[0].empty());
    return 0;
}
