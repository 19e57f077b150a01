// Timing, fixture and reporting helpers of the benchmark programs. Each measurement is printed as one
// JSON object on stdout; scripts/bench collects them into a table:
//   {"name", "unit", "samples", "p50", "p95", "max"[, "reference", "ref_p50"][, "goal", "met"][, "note"]}
// "reference" names the row measured in the same run that the figure is compared with; the
// script derives the difference and the ratio from the two p50 values.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

inline double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Nearest-rank percentile; samples must not be empty.
inline double Percentile(std::vector<double> samples, double fraction) {
    std::sort(samples.begin(), samples.end());
    const size_t rank = static_cast<size_t>(fraction * static_cast<double>(samples.size() - 1) + 0.5);
    return samples[std::min(rank, samples.size() - 1)];
}

// The programs of the system folder, for items with many different programs and icons.
inline std::vector<std::string> SystemPrograms() {
    const std::string folder = "C:\\windows\\system32\\";
    std::vector<std::string> programs;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.exe").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return programs;
    do
        programs.push_back(folder + found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return programs;
}

inline double Median(const std::vector<double>& samples) {
    return Percentile(samples, 0.5);
}

struct Row {
    std::string name;
    std::string unit = "ms";
    std::vector<double> samples;
    std::string reference;  // name of the reference row, if any
    double referenceP50 = 0;
    std::string goal;  // empty: no goal
    bool met = false;
    std::string note;
};

// The texts are ASCII of our own; only quotes and backslashes need escaping.
inline std::string JsonText(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

inline void Print(const Row& row) {
    if (row.samples.empty())
        return;
    printf("{\"name\": %s, \"unit\": %s, \"samples\": %zu, \"p50\": %.3f, \"p95\": %.3f, \"max\": %.3f",
           JsonText(row.name).c_str(), JsonText(row.unit).c_str(), row.samples.size(), Percentile(row.samples, 0.5),
           Percentile(row.samples, 0.95), *std::max_element(row.samples.begin(), row.samples.end()));
    if (!row.reference.empty())
        printf(", \"reference\": %s, \"ref_p50\": %.3f", JsonText(row.reference).c_str(), row.referenceP50);
    if (!row.goal.empty())
        printf(", \"goal\": %s, \"met\": %s", JsonText(row.goal).c_str(), row.met ? "true" : "false");
    if (!row.note.empty())
        printf(", \"note\": %s", JsonText(row.note).c_str());
    printf("}\n");
    fflush(stdout);
}

// A row of figures alone, with no reference, goal or note.
inline void PrintSamples(const std::string& name, const std::vector<double>& samples) {
    Row row;
    row.name = name;
    row.samples = samples;
    Print(row);
}

}  // namespace bench
