// shutdown_save_bench: times the settings save the launcher does at shutdown, through the real
// save code and the real registry of the Wine prefix, for a full profile: 10,001 items and
// 1,001 ignored class names and 1,001 ignored window names (12,003 numbered values).
//
//   - nothing changed (the usual shutdown)
//   - a few items changed (their tips alternate between two texts on every save)
//   - the reference "sweep" in the same run: delete every numbered value one by one, then write
//     every value again.
//
// After the runs the profile is read back and compared with the record; a mismatch fails the
// program. Usage: shutdown_save_bench [SAVES] [SWEEPS]
#include "bench_report.h"
#include "framework/registry_profile.h"
#include "settings/numbered_keys.h"
#include "settings/profile_keys.h"
#include "settings/settings_record.h"

#include <shlwapi.h>

#include <cstdlib>
#include <string>
#include <utility>

namespace {

using namespace profile_keys;

constexpr char kBenchCompany[] = "KvBenchSave";
constexpr char kBenchApplication[] = "Kestrovar";
constexpr char kBenchRoot[] = "Software\\KvBenchSave";
constexpr int kItemCount = kMaxButtonIndex + 1;
constexpr int kNameCount = kMaxFilterIndex + 1;
constexpr int kChangedItems = 3;
constexpr double kSaveGoalMs = 100.0;
constexpr double kSweepRatioGoal = 10.0;
constexpr char kSweepName[] = "reference: sweep (delete 12,003 values one by one, write all)";

void FillOptions(KestrovarOptions& options) {
    for (int n = 0; n < kItemCount; ++n) {
        const std::string number = std::to_string(n);
        options.Items.SetItem(n, "tool " + number, "C:\\Program Files\\Tool " + number + "\\tool" + number + ".exe");
    }
    for (int n = 0; n < kNameCount; ++n) {
        options.IgnoredClassNames.push_back("KvIgnoredClass" + std::to_string(n));
        options.IgnoredWindowNames.push_back("Ignored window " + std::to_string(n));
    }
}

// Spread over the list: the first, one in the middle and the last item.
void ChangeSomeItems(KestrovarOptions& options, int round) {
    const int indexes[kChangedItems] = {0, kItemCount / 2, kItemCount - 1};
    for (int index : indexes) {
        CLaunchItem* item = options.Items.FindItem(index);
        item->strTip = "tool " + std::to_string(index) + (round % 2 ? " (renamed)" : "");
    }
}

double TimedSave(const KestrovarOptions& options, RegistryProfile& profile) {
    const double start = bench::NowMs();
    SaveOptions(options, profile);
    return bench::NowMs() - start;
}

void DeleteNumberedValues(RegistryProfile& profile, const char* section) {
    for (const std::string& name : profile.ValueNames(section))
        profile.DeleteValue(section, name);
}

void WriteNameListDirectly(RegistryProfile& profile, const char* prefix, const std::vector<std::string>& names) {
    for (size_t i = 0; i < names.size(); ++i)
        profile.WriteString(kFilter, NumberedKey(prefix, static_cast<int>(i)), names[i]);
}

// The settings outside the lists, as the real save writes them.
void WriteScalarSettings(const KestrovarOptions& o, RegistryProfile& profile) {
    struct Setting {
        const char* section;
        const char* key;
        int value;
    };
    const Setting settings[] = {{kStatus, kMemoryPage, o.MemoryPage},
                                {kStatus, kWheelClickLock, o.WheelClickLock},
                                {kStatus, kWheelClickTrigger, o.WheelClickTrigger},
                                {kStatus, kWheelClickSelect, o.WheelClickSelect},
                                {kStatus, kHideOption, o.HideOption},
                                {kStatus, kHotkeyShow, o.HotkeyShow},
                                {kStatus, kHotkeyNext, o.HotkeyNext},
                                {kStatus, kHotkeyPrev, o.HotkeyPrev},
                                {kStatus, kDoubleClick, o.DoubleClick},
                                {kDesign, kSkinMode, o.SkinMode},
                                {kDesign, kIconSize, o.IconSize},
                                {kDesign, kButtonSpace, o.ButtonSpace},
                                {kDesign, kButtonWidth, o.ButtonWidth},
                                {kDesign, kButtonHeight, o.ButtonHeight},
                                {kDesign, kCol, o.Col},
                                {kDesign, kRow, o.Row},
                                {kDesign, kWindowTPValue, o.WindowTPValue}};
    for (const Setting& setting : settings)
        profile.WriteInt(setting.section, setting.key, setting.value);
    profile.WriteString(kDesign, kTheme, o.Theme);
}

// The straightforward save the real one is measured against: empty the lists, write everything.
double TimedSweep(const KestrovarOptions& options, RegistryProfile& profile) {
    const double start = bench::NowMs();
    DeleteNumberedValues(profile, kPathName);
    DeleteNumberedValues(profile, kFilter);
    for (const CLaunchItem* item : options.Items.UsedItemsByIndex())
        profile.WriteString(kPathName, NumberedKey(kButtonPrefix, item->nIndex), item->strTip + "*" + item->strCommand);
    WriteNameListDirectly(profile, kClassNamePrefix, options.IgnoredClassNames);
    WriteNameListDirectly(profile, kWindowNamePrefix, options.IgnoredWindowNames);
    WriteScalarSettings(options, profile);
    return bench::NowMs() - start;
}

// The part of every save that reads what is stored: the value names of the two list sections and
// each of their values, as SaveNumberedList does.
double TimedReadBack(RegistryProfile& profile) {
    const double start = bench::NowMs();
    size_t bytes = 0;
    for (const char* section : {kPathName, kFilter}) {
        for (const std::string& name : profile.ValueNames(section))
            bytes += profile.GetString(section, name, "").size();
    }
    const double elapsed = bench::NowMs() - start;
    return bytes > 0 ? elapsed : -1;
}

// For comparison: the same values read in one RegEnumValueA pass that returns names and data
// together (one registry call per value instead of three).
double TimedEnumerationPass() {
    const double start = bench::NowMs();
    size_t bytes = 0;
    for (const char* section : {kPathName, kFilter}) {
        HKEY key = nullptr;
        const std::string path = std::string(kBenchRoot) + "\\" + kBenchApplication + "\\" + section;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return -1;
        char name[256];
        BYTE data[1024];
        for (DWORD i = 0;; ++i) {
            DWORD nameSize = sizeof(name), dataSize = sizeof(data), type = 0;
            if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
                break;
            bytes += dataSize;
        }
        RegCloseKey(key);
    }
    const double elapsed = bench::NowMs() - start;
    return bytes > 0 ? elapsed : -1;
}

// Read through a profile object of its own, so that what the saving object kept in memory
// cannot stand in for what the registry holds.
bool ProfileHolds(const KestrovarOptions& options) {
    RegistryProfile profile(kBenchCompany, kBenchApplication);
    KestrovarOptions read;
    LoadOptions(read, profile);
    if (read.Items.size() != options.Items.size() ||
        read.IgnoredClassNames.size() != options.IgnoredClassNames.size() ||
        read.IgnoredWindowNames.size() != options.IgnoredWindowNames.size())
        return false;
    for (const auto& record : options.Items.records()) {
        const CLaunchItem* stored = read.Items.FindItem(record->nIndex);
        if (!stored || stored->strTip != record->strTip || stored->strCommand != record->strCommand)
            return false;
    }
    // The lists are read back from the highest index down.
    std::vector<std::string> classes(read.IgnoredClassNames.rbegin(), read.IgnoredClassNames.rend());
    std::vector<std::string> windows(read.IgnoredWindowNames.rbegin(), read.IgnoredWindowNames.rend());
    return classes == options.IgnoredClassNames && windows == options.IgnoredWindowNames;
}

bench::Row SaveRow(const char* name, std::vector<double> samples, const std::vector<double>& sweeps) {
    bench::Row row;
    row.name = name;
    row.samples = std::move(samples);
    row.reference = kSweepName;
    row.referenceP50 = bench::Median(sweeps);
    const double p95 = bench::Percentile(row.samples, 0.95);
    const double ratio = row.referenceP50 / std::max(bench::Median(row.samples), 0.001);
    row.goal = "p95 <= 100 ms and sweep/p50 >= 10";
    row.met = p95 <= kSaveGoalMs && ratio >= kSweepRatioGoal;
    return row;
}

}  // namespace

int main(int argc, char** argv) {
    const int saves = argc > 1 ? atoi(argv[1]) : 10;
    const int sweeps = argc > 2 ? atoi(argv[2]) : 3;

    SHDeleteKeyA(HKEY_CURRENT_USER, kBenchRoot);
    // One profile object for the whole run, as the program keeps one: its section keys stay open.
    RegistryProfile profile(kBenchCompany, kBenchApplication);
    KestrovarOptions options;
    FillOptions(options);

    std::vector<double> firstSave = {TimedSave(options, profile)};
    // The program reads its settings at start with the object it saves with at exit.
    KestrovarOptions readAtStart;
    LoadOptions(readAtStart, profile);
    std::vector<double> unchanged, someChanged, swept;
    for (int i = 0; i < saves; ++i)
        unchanged.push_back(TimedSave(options, profile));
    for (int i = 0; i < saves; ++i) {
        ChangeSomeItems(options, i + 1);
        someChanged.push_back(TimedSave(options, profile));
    }
    const bool savedRight = ProfileHolds(options);
    std::vector<double> readBack;
    std::vector<double> enumerated;
    for (int i = 0; i < saves; ++i) {
        readBack.push_back(TimedReadBack(profile));
        enumerated.push_back(TimedEnumerationPass());
    }
    for (int i = 0; i < sweeps; ++i)
        swept.push_back(TimedSweep(options, profile));
    const bool sweptRight = ProfileHolds(options);
    SHDeleteKeyA(HKEY_CURRENT_USER, kBenchRoot);
    if (!savedRight || !sweptRight) {
        fprintf(stderr, "shutdown_save_bench: the profile does not hold what was saved (%s)\n",
                savedRight ? "sweep" : "save");
        return 1;
    }

    const char* profileNote =
        "settings save of the shutdown (SaveOptions through RegistryProfile, real registry of the prefix): "
        "10,001 items, 1,001 + 1,001 ignored names = 12,003 numbered values; the data file write is not included";
    bench::Row nothing = SaveRow("shutdown save, 12,003 values, nothing changed", unchanged, swept);
    nothing.note = profileNote;
    bench::Print(nothing);
    bench::Print(SaveRow("shutdown save, 12,003 values, 3 items changed", someChanged, swept));
    bench::PrintSamples("  of which: reading the stored lists back (ValueNames + GetString per value)", readBack);
    bench::PrintSamples("  for comparison: the same values in one RegEnumValueA pass (names with data)", enumerated);
    bench::PrintSamples(kSweepName, swept);
    bench::PrintSamples("first save into an empty profile, 12,003 values", firstSave);
    return 0;
}
