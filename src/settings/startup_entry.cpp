#include "settings/startup_entry.h"

std::string RunCommandProgram(const std::string& command, const PathProbe& probe) {
    std::string text = command;
    TrimSpaces(text);
    if (!text.empty() && text[0] == '"') {
        const size_t close = text.find('"', 1);
        return text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    std::string program, arguments;
    SplitCommandLine(text, program, arguments, probe);
    return program.empty() ? text : program;
}

std::string RunCommandFor(const std::string& programPath) {
    return "\"" + programPath + "\"";
}
