// Command splitting against a fake file system: the first line is the command, the other lines
// are the paths that exist. The program found is always an existing prefix (or the whole
// command) and neither part keeps surrounding spaces.
#include "fuzz_input.h"
#include "text/cmdline.h"

#include <set>

namespace {
bool IsTrimmed(const std::string& s) {
    auto space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    return s.empty() || (!space(s.front()) && !space(s.back()));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> lines = FuzzLines(data, size);
    // Windows file names never begin or end with a space, so the fake file system holds none.
    std::set<std::string> existing;
    for (size_t i = 1; i < lines.size(); ++i) {
        if (!lines[i].empty() && IsTrimmed(lines[i]))
            existing.insert(lines[i]);
    }
    PathProbe probe = [&](const std::string& path) -> unsigned long { return existing.count(path) ? 0x20 : 0; };

    std::string program, arguments;
    SplitCommandLine(lines[0], program, arguments, probe);
    FUZZ_CHECK(IsTrimmed(program));
    FUZZ_CHECK(IsTrimmed(arguments));
    FUZZ_CHECK(program.size() <= lines[0].size() + 1);
    if (!arguments.empty())
        FUZZ_CHECK(existing.count(program) == 1);

    std::vector<std::string> tokens;
    int count = SplitString(" *", tokens, lines[0]);
    FUZZ_CHECK(count == static_cast<int>(tokens.size()));
    for (const std::string& token : tokens)
        FUZZ_CHECK(!token.empty() && token.find_first_of(" *") == std::string::npos);
    return 0;
}
