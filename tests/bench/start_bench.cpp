// start_bench: times the start of the real program from outside, and measures the memory of the
// hidden launcher, each against our smallest window program (kvminimalwnd.exe) measured the
// same way in the same run.
//
// A start is timed from CreateProcess until the launcher is ready for the user:
//   1. its window exists with every button of the grid,
//   2. its thread answers a message (WM_NULL), so its start code is over and it pumps messages,
//   3. a middle click injected with SendInput on the desktop shows it: the hook is live and the
//      click is handled (visible at the cursor, then WM_NULL answered again, so it is painted).
// The reference is ready when its window exists, answers WM_NULL, and a middle click on it has
// been handled (the program hides its window on that click, then answers WM_NULL).
//
// Every launcher sample starts from the same profile and the same data file (restored before
// each start) and is killed once measured, so nothing is saved. The data files are the ones the
// program writes when it quits: the last start without a data file is quit with the exit
// command (WM_COMMAND 103) and its data file is kept for the starts with a data file.
//
// Usage: start_bench [FAST_SAMPLES] [SLOW_SAMPLES_1000] [SLOW_SAMPLES_10000] [QUIT_SAMPLES]
// The program folder is %KV_BENCH_APP% (Kestrovar.exe, Kestrovar.dll, Themes), else this
// program's own folder; kvminimalwnd.exe is taken from this program's folder.
#include "bench_report.h"
#include "framework/registry_profile.h"
#include "items/command_ids.h"
#include "items/data_file.h"
#include "items/messages.h"
#include "launcher/app.h"
#include "launcher/body_wnd.h"
#include "settings/item_list.h"
#include "settings/settings_record.h"
#include "tools/minimal_window.h"

#include <psapi.h>
#include <shlwapi.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

// The launcher keeps its profile under the company key, in the section named after its program.
constexpr char kProfileApplication[] = "Kestrovar";
const std::string kProfileRoot = std::string("Software\\") + kCompanyKey;
constexpr int kDefaultButtons = 6 * 2;  // the grid of a new profile

constexpr POINT kDesktopPoint = {500, 400};    // where the launcher is called up
constexpr POINT kElsewherePoint = {900, 700};  // away from the shown launcher
// The centre of the reference window.
constexpr POINT kMinimalWindowPoint = {(kMinimalWindowBounds.left + kMinimalWindowBounds.right) / 2,
                                       (kMinimalWindowBounds.top + kMinimalWindowBounds.bottom) / 2};

constexpr double kStartTimeoutMs = 240000;
constexpr double kClickTimeoutMs = 1000;
constexpr int kClickAttempts = 5;
constexpr DWORD kAnswerTimeoutMs = 200;
constexpr DWORD kSettledAnswerTimeoutMs = 10000;
constexpr DWORD kQuitTimeoutMs = 240000;
constexpr double kStartGoalOverReferenceMs = 100.0;
constexpr double kLargeStartGoalOverReferenceMs = 200.0;  // 10,000 items
constexpr double kMemoryGoalMb = 10.0;
constexpr double kBytesPerMb = 1024.0 * 1024.0;
constexpr DWORD kIdleSettleMs = 500;
constexpr int kDistinctPrograms = 1000;
constexpr double kQuitGoal1000Ms = 300;
constexpr double kQuitGoal10000Ms = 2000;
constexpr double kQuitGoalDistinctMs = 1000;

constexpr char kReferenceName[] = "reference: minimal window program, start to ready";
constexpr char kReferenceMemoryName[] = "reference: minimal window program, private bytes";

struct Child {
    PROCESS_INFORMATION info = {};
    double startedAt = 0;
};

struct StartSample {
    double windowFound = 0;
    double answering = 0;
    double ready = 0;
};

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string OwnFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof(path));
    return FolderOf(path);
}

std::string AppFolder() {
    char folder[MAX_PATH] = "";
    const DWORD length = GetEnvironmentVariableA("KV_BENCH_APP", folder, sizeof(folder));
    return length > 0 && length < sizeof(folder) ? std::string(folder) : OwnFolder();
}

[[noreturn]] void Fail(const std::string& what) {
    fprintf(stderr, "start_bench: %s\n", what.c_str());
    exit(1);
}

Child Launch(const std::string& exe) {
    Child child;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::string commandLine = "\"" + exe + "\"";
    const std::string folder = FolderOf(exe);
    child.startedAt = bench::NowMs();
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &child.info))
        Fail("cannot start " + exe);
    return child;
}

void Kill(Child& child) {
    TerminateProcess(child.info.hProcess, 0);
    WaitForSingleObject(child.info.hProcess, INFINITE);
    CloseHandle(child.info.hProcess);
    CloseHandle(child.info.hThread);
    child.info = {};
}

bool HasExited(const Child& child) {
    return WaitForSingleObject(child.info.hProcess, 0) == WAIT_OBJECT_0;
}

struct WindowSearch {
    DWORD processId;
    const char* className;  // or nullptr
    const char* text;       // or nullptr
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId)
        return TRUE;
    char text[128] = "";
    if (search->className && (!GetClassNameA(window, text, sizeof(text)) || strcmp(text, search->className) != 0))
        return TRUE;
    if (search->text && (!GetWindowTextA(window, text, sizeof(text)) || strcmp(text, search->text) != 0))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindTopLevel(const Child& child, const char* className, const char* text) {
    WindowSearch search = {child.info.dwProcessId, className, text, nullptr};
    EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CountButton(HWND child, LPARAM param) {
    char text[64] = "";
    GetWindowTextA(child, text, sizeof(text));
    if (strcmp(text, kButtonWindowText) == 0)
        ++*reinterpret_cast<int*>(param);
    return TRUE;
}

int ButtonCount(HWND launcher) {
    int count = 0;
    EnumChildWindows(launcher, &CountButton, reinterpret_cast<LPARAM>(&count));
    return count;
}

bool Answers(HWND window, DWORD timeoutMs) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &ignored) != 0;
}

void MiddleClickAt(POINT point) {
    SetCursorPos(point.x, point.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_MIDDLEDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_MIDDLEUP;
    SendInput(2, inputs, sizeof(INPUT));
}

bool IsShownLauncher(HWND launcher) {
    RECT r = {};
    return IsWindowVisible(launcher) && GetWindowRect(launcher, &r) && r.left != CKestrovarBodyWnd::kParkingX;
}

// Clicks at point until shownWanted holds (a lost click is repeated; the launcher toggles, so a
// click is only repeated after the previous one had time to arrive).
bool ClickUntil(HWND window, POINT point, bool (*shown)(HWND), bool shownWanted) {
    for (int attempt = 0; attempt < kClickAttempts; ++attempt) {
        MiddleClickAt(point);
        const double sent = bench::NowMs();
        while (bench::NowMs() - sent < kClickTimeoutMs) {
            if (shown(window) == shownWanted)
                return Answers(window, kSettledAnswerTimeoutMs);
            Sleep(1);
        }
    }
    return false;
}

bool IsVisible(HWND window) {
    return IsWindowVisible(window) != 0;
}

// Polls until the window of the child is there, has its buttons and answers; returns it.
HWND WaitAnswering(const Child& child, const char* className, const char* text, int buttons, StartSample& sample) {
    HWND window = nullptr;
    while (bench::NowMs() - child.startedAt < kStartTimeoutMs) {
        if (HasExited(child))
            Fail("the program ended during its start");
        if (!window) {
            window = FindTopLevel(child, className, text);
            if (window)
                sample.windowFound = bench::NowMs() - child.startedAt;
        }
        if (window && ButtonCount(window) >= buttons && Answers(window, kAnswerTimeoutMs)) {
            sample.answering = bench::NowMs() - child.startedAt;
            return window;
        }
        Sleep(window ? 1 : 2);
    }
    Fail("no ready window within the start timeout");
}

HWND StartLauncher(Child& child, const std::string& exe, StartSample& sample) {
    child = Launch(exe);
    HWND launcher = WaitAnswering(child, nullptr, kBodyWindowText, kDefaultButtons, sample);
    if (!ClickUntil(launcher, kDesktopPoint, &IsShownLauncher, true))
        Fail("a wheel click did not show the launcher");
    sample.ready = bench::NowMs() - child.startedAt;
    return launcher;
}

// Private bytes of the child. Wine 8 leaves PrivateUsage 0 for another process and reports its
// private memory (resident anonymous memory plus swap) as PagefileUsage, the field Windows fills
// with the same commit charge; the latter is taken when the former is missing.
double PrivateBytesMb(const Child& child) {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(child.info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof(counters)))
        Fail("GetProcessMemoryInfo failed");
    fprintf(stderr, "  memory: PrivateUsage %zu, PagefileUsage %zu, WorkingSetSize %zu\n",
            static_cast<size_t>(counters.PrivateUsage), static_cast<size_t>(counters.PagefileUsage),
            static_cast<size_t>(counters.WorkingSetSize));
    const SIZE_T privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return static_cast<double>(privateBytes) / kBytesPerMb;
}

// The profile read the launcher does before its window exists, timed in process on the profile
// the samples start from.
std::string TempPath(const char* name) {
    char folder[MAX_PATH] = "";
    GetTempPathA(sizeof(folder), folder);
    return std::string(folder) + name;
}

double TimedProfileRead() {
    RegistryProfile profile(kCompanyKey, kProfileApplication);
    KestrovarOptions options;
    const double start = bench::NowMs();
    LoadOptions(options, profile);
    return bench::NowMs() - start;
}

class Bench {
public:
    Bench() : app_(AppFolder() + "\\Kestrovar.exe"), minimal_(OwnFolder() + "\\kvminimalwnd.exe") {}

    void Run(int fastSamples, int slow1000, int slow10000, int quitSamples);

private:
    // One start of the reference program, recorded as a reference sample.
    void SampleReference() {
        StartSample sample;
        Child child = Launch(minimal_);
        HWND window = WaitAnswering(child, kMinimalWindowClass, nullptr, 0, sample);
        if (!IsWindowVisible(window) || !ClickUntil(window, kMinimalWindowPoint, &IsVisible, false))
            Fail("the reference window did not handle a click");
        referenceStarts_.push_back(bench::NowMs() - child.startedAt);
        fprintf(stderr, "reference: window %.1f ms, answering %.1f ms, ready %.1f ms\n", sample.windowFound,
                sample.answering, referenceStarts_.back());
        Sleep(kIdleSettleMs);
        referenceMemory_.push_back(PrivateBytesMb(child));
        Kill(child);
    }

    // Writes the profile of a new user with count items, through the program's own save; item n
    // starts program n modulo the list.
    void WriteProfile(int count) { WriteProfile(count, programs_); }
    void WriteProfile(int count, const std::vector<std::string>& programs) {
        SHDeleteKeyA(HKEY_CURRENT_USER, kProfileRoot.c_str());
        RegistryProfile profile(kCompanyKey, kProfileApplication);
        ItemList items;
        for (int n = 0; n < count; ++n)
            items.SetItem(n, "item " + std::to_string(n), programs[static_cast<size_t>(n) % programs.size()]);
        WriteItems(items, profile);
    }

    void PutDataFile(const std::string& master) {
        const std::string path = DataFilePath();
        if (master.empty())
            DeleteFileA(path.c_str());
        else if (!CopyFileA(master.c_str(), path.c_str(), FALSE))
            Fail("cannot restore the data file");
    }

    // Starts the launcher `samples` times (a reference start before each); the last one is quit
    // when keepDataFileAs is set, and the data file it writes is kept there.
    struct Starts {
        std::vector<double> ready;
        std::vector<double> windowFound;
        std::vector<double> answering;
        std::vector<double> idleMemory;  // after a show/hide cycle
        std::vector<double> profileRead;
    };

    Starts SampleStarts(int samples, const std::string& dataFile, const std::string& keepDataFileAs) {
        Starts starts;
        for (int i = 0; i < samples; ++i) {
            SampleReference();
            PutDataFile(dataFile);
            Child child;
            StartSample sample;
            HWND launcher = StartLauncher(child, app_, sample);
            starts.ready.push_back(sample.ready);
            starts.windowFound.push_back(sample.windowFound);
            starts.answering.push_back(sample.answering);
            fprintf(stderr, "  window %.1f ms, answering %.1f ms, ready %.1f ms\n", sample.windowFound,
                    sample.answering, sample.ready);
            if (!ClickUntil(launcher, kElsewherePoint, &IsVisible, false))
                Fail("a wheel click did not hide the launcher");
            Sleep(kIdleSettleMs);
            starts.idleMemory.push_back(PrivateBytesMb(child));
            if (i + 1 == samples && !keepDataFileAs.empty()) {
                firstQuits_.push_back(Quit(child, launcher));
                if (!CopyFileA(DataFilePath().c_str(), keepDataFileAs.c_str(), FALSE))
                    Fail("the launcher wrote no data file at its exit");
            } else {
                Kill(child);
            }
            starts.profileRead.push_back(TimedProfileRead());
        }
        return starts;
    }

    // The exit command until the process has ended: the settings save, then the icon save.
    double Quit(Child& child, HWND launcher) {
        const double start = bench::NowMs();
        PostMessageA(launcher, WM_COMMAND, kCmdQuit, 0);
        if (WaitForSingleObject(child.info.hProcess, kQuitTimeoutMs) != WAIT_OBJECT_0)
            Fail("the launcher did not end after the exit command");
        const double took = bench::NowMs() - start;
        fprintf(stderr, "  quit in %.0f ms\n", took);
        CloseHandle(child.info.hProcess);
        CloseHandle(child.info.hThread);
        child.info = {};
        return took;
    }

    // Quits of a launcher started from the profile as it is and the given data file, restored
    // before each start.
    std::vector<double> SampleQuits(int samples, const std::string& dataFile) {
        std::vector<double> quits;
        for (int i = 0; i < samples; ++i) {
            PutDataFile(dataFile);
            Child child;
            StartSample sample;
            HWND launcher = StartLauncher(child, app_, sample);
            quits.push_back(Quit(child, launcher));
        }
        return quits;
    }

    void ReportQuit(const std::string& name,
                    const std::vector<double>& samples,
                    double goalMs,
                    const std::string& note = "") {
        bench::Row row;
        row.name = name;
        row.samples = samples;
        row.note = note;
        if (goalMs > 0) {
            row.goal = "p95 <= " + std::to_string(static_cast<int>(goalMs)) + " ms";
            row.met = bench::Percentile(samples, 0.95) <= goalMs;
        }
        bench::Print(row);
    }

    // Quits with the data file written by a first quit: programs unchanged since, so their
    // icons are kept; with nothing changed the file is left alone, with one item more it is
    // written again from the kept icons. Then as many programs as items, each a file of its own.
    void SampleKeptIconQuits(int samples, const std::string& data1000, const std::string& data10000) {
        fprintf(stderr, "quits with the data file, programs unchanged\n");
        WriteProfile(1000);
        const std::vector<double> unchanged1000 = SampleQuits(samples, data1000);
        WriteProfile(1001);
        const std::vector<double> oneMore1000 = SampleQuits(samples, data1000);
        WriteProfile(10000);
        const std::vector<double> unchanged10000 = SampleQuits(samples, data10000);
        WriteProfile(10001);
        const std::vector<double> oneMore10000 = SampleQuits(samples, data10000);

        fprintf(stderr, "1,000 distinct programs\n");
        const std::vector<std::string> distinct = MakeDistinctPrograms(kDistinctPrograms);
        const std::string dataDistinct = TempPath("kvbench-distinct.dat");
        WriteProfile(kDistinctPrograms, distinct);
        const std::vector<double> askedDistinct = SampleQuits(1, "");
        if (!CopyFileA(DataFilePath().c_str(), dataDistinct.c_str(), FALSE))
            Fail("the launcher wrote no data file at its exit");
        WriteProfile(kDistinctPrograms + 1, distinct);
        const std::vector<double> oneMoreDistinct = SampleQuits(samples, dataDistinct);
        RemoveDistinctPrograms(distinct);
        DeleteFileA(dataDistinct.c_str());

        ReportQuit("quit, 1,000 items" + OnPrograms() + ", nothing changed", unchanged1000, kQuitGoal1000Ms,
                   "start with the data file of the first quit, exit command at once; the programs are unchanged "
                   "since the file was written, so their icons are kept and the shell is not asked");
        ReportQuit("quit, 1,000 items" + OnPrograms() + ", one item added", oneMore1000, kQuitGoal1000Ms);
        ReportQuit("quit, 10,000 items" + OnPrograms() + ", nothing changed", unchanged10000, kQuitGoal10000Ms);
        ReportQuit("quit, 10,000 items" + OnPrograms() + ", one item added", oneMore10000, kQuitGoal10000Ms);
        ReportQuit("quit, 1,000 distinct programs, no data file (the shell asked for each)", askedDistinct, 0);
        ReportQuit("quit, 1,000 distinct programs, one item added", oneMoreDistinct, kQuitGoalDistinctMs,
                   "1,000 hard links to one small program, each a path of its own for the shell");
    }

    std::string OnPrograms() const { return " on " + std::to_string(programs_.size()) + " programs"; }

    // Files of their own for the shell, made as hard links (copies where links fail).
    std::vector<std::string> MakeDistinctPrograms(int count) {
        const std::string folder = TempPath("kvbench-programs");
        CreateDirectoryA(folder.c_str(), nullptr);
        std::vector<std::string> programs;
        for (int n = 0; n < count; ++n) {
            const std::string path = folder + "\\tool" + std::to_string(n) + ".exe";
            if (!CreateHardLinkA(path.c_str(), minimal_.c_str(), nullptr) &&
                !CopyFileA(minimal_.c_str(), path.c_str(), FALSE))
                Fail("cannot make " + path);
            programs.push_back(path);
        }
        return programs;
    }

    void RemoveDistinctPrograms(const std::vector<std::string>& programs) {
        for (const std::string& path : programs)
            DeleteFileA(path.c_str());
        RemoveDirectoryA(TempPath("kvbench-programs").c_str());
    }

    // With a goal over the reference's p50 when goalOverReferenceMs is set.
    void ReportStarts(const std::string& name, const std::vector<double>& samples, double goalOverReferenceMs = 0) {
        bench::Row row;
        row.name = name;
        row.samples = samples;
        row.reference = kReferenceName;
        row.referenceP50 = bench::Median(referenceStarts_);
        if (goalOverReferenceMs > 0) {
            row.goal = "p50 - reference p50 <= " + std::to_string(static_cast<int>(goalOverReferenceMs)) + " ms";
            row.met = bench::Median(row.samples) - row.referenceP50 <= goalOverReferenceMs;
        }
        bench::Print(row);
    }

    // Where the time of a start goes, for one configuration.
    void ReportStartParts(const Starts& starts) {
        bench::PrintSamples("  of which: until the launcher window exists", starts.windowFound);
        bench::PrintSamples("  of which: until it has its buttons and answers WM_NULL", starts.answering);
        bench::PrintSamples("  of which: the profile read (LoadOptions, in process, same profile)", starts.profileRead);
    }

    void ReportRatio(const std::string& name, const std::vector<double>& without, const std::vector<double>& with) {
        bench::Row row;
        row.name = name;
        row.unit = "x";
        row.samples = {bench::Median(without) / std::max(bench::Median(with), 0.001)};
        row.note = "p50 without the data file / p50 with it";
        bench::Print(row);
    }

    void ReportMemory(const std::string& name, const std::vector<double>& samples, bool withGoal) {
        bench::Row row;
        row.name = name;
        row.unit = "MB";
        row.samples = samples;
        row.reference = kReferenceMemoryName;
        row.referenceP50 = bench::Median(referenceMemory_);
        if (withGoal) {
            row.goal = "p95 <= 10 MB";
            row.met = bench::Percentile(samples, 0.95) <= kMemoryGoalMb;
            row.note =
                "private bytes from outside, 0.5 s after the hide that follows the first show: GetProcessMemoryInfo "
                "(PROCESS_MEMORY_COUNTERS_EX); Wine 8 leaves PrivateUsage 0 for another process and reports the "
                "private memory (resident anonymous memory plus swap) as PagefileUsage, which is used here (on "
                "Windows both fields hold the same commit charge)";
        }
        bench::Print(row);
    }

    std::string app_;
    std::string minimal_;
    std::vector<std::string> programs_;
    std::vector<double> referenceStarts_;
    std::vector<double> referenceMemory_;
    std::vector<double> firstQuits_;  // without a data file: 1,000 items, then 10,000 items
};

void Bench::Run(int fastSamples, int slow1000, int slow10000, int quitSamples) {
    programs_ = bench::SystemPrograms();
    if (programs_.empty())
        Fail("no programs found for the items");
    const std::string data1000 = TempPath("kvbench-1000.dat");
    const std::string data10000 = TempPath("kvbench-10000.dat");

    // Warm the file cache and the prefix once; not recorded.
    WriteProfile(0);
    PutDataFile("");
    SampleReference();
    {
        Child child;
        StartSample sample;
        StartLauncher(child, app_, sample);
        Kill(child);
    }
    referenceStarts_.clear();
    referenceMemory_.clear();

    fprintf(stderr, "1,000 items without the data file\n");
    WriteProfile(1000);
    const Starts without1000 = SampleStarts(slow1000, "", data1000);
    fprintf(stderr, "1,000 items with the data file\n");
    WriteProfile(1000);  // the quit above saved it; the next samples start from the same profile
    const Starts with1000 = SampleStarts(fastSamples, data1000, "");

    fprintf(stderr, "10,000 items without the data file\n");
    WriteProfile(10000);
    const Starts without10000 = SampleStarts(slow10000, "", data10000);
    fprintf(stderr, "10,000 items with the data file\n");
    WriteProfile(10000);
    const Starts with10000 = SampleStarts(fastSamples, data10000, "");

    fprintf(stderr, "0 items\n");
    WriteProfile(0);
    const Starts without0 = SampleStarts(fastSamples, "", "");
    // A data file outlives the items: removing every item leaves the last one written.
    const Starts with0 = SampleStarts(fastSamples, data1000, "");

    bench::Row reference;
    reference.name = kReferenceName;
    reference.samples = referenceStarts_;
    reference.note =
        "start to ready, from outside: CreateProcess until the launcher window exists with all 12 buttons (new "
        "profile: 6 x 2 grid), its thread answers WM_NULL (start code over, hook started, grid built), and a middle "
        "click injected with SendInput on the desktop shows it at the cursor (visible off the parking place, then "
        "WM_NULL answered again). Reference: kvminimalwnd.exe (registers a class, creates a window, enters the "
        "message loop) until its window answers WM_NULL and has handled a middle click; one reference start precedes "
        "every launcher start. Each launcher is killed after its sample; profile and data file are restored before "
        "the next. The data files are those the program wrote when quit after its start without one";
    bench::Print(reference);
    ReportStarts("start to ready, 0 items, no data file", without0.ready);
    ReportStartParts(without0);
    ReportStarts("start to ready, 0 items, data file of 1,000 items left", with0.ready);
    ReportStarts("start to ready, 1,000 items, no data file", without1000.ready);
    ReportStarts("start to ready, 1,000 items, with data file", with1000.ready, kStartGoalOverReferenceMs);
    ReportStartParts(with1000);
    ReportRatio("  ratio without/with data file, 1,000 items", without1000.ready, with1000.ready);
    ReportStarts("start to ready, 10,000 items, no data file", without10000.ready);
    ReportStarts("start to ready, 10,000 items, with data file", with10000.ready, kLargeStartGoalOverReferenceMs);
    ReportStartParts(with10000);
    ReportRatio("  ratio without/with data file, 10,000 items", without10000.ready, with10000.ready);

    for (size_t i = 0; i < firstQuits_.size(); ++i) {
        ReportQuit(std::string("quit (exit command to process end), ") + (i == 0 ? "1,000" : "10,000") + " items" +
                       OnPrograms() + ", no data file",
                   {firstQuits_[i]}, 0,
                   i == 0 ? "the shutdown as the user has it: the settings are saved, then the data file is written "
                            "from the shell's icon of every item (asked once per program)"
                          : "");
    }
    SampleKeptIconQuits(quitSamples, data1000, data10000);
    SHDeleteKeyA(HKEY_CURRENT_USER, kProfileRoot.c_str());
    PutDataFile("");
    DeleteFileA(data1000.c_str());
    DeleteFileA(data10000.c_str());

    bench::Row referenceMemory;
    referenceMemory.name = kReferenceMemoryName;
    referenceMemory.unit = "MB";
    referenceMemory.samples = referenceMemory_;
    bench::Print(referenceMemory);
    ReportMemory("idle memory, hidden launcher, 1,000 items with data file, after show/hide", with1000.idleMemory,
                 true);
    ReportMemory("idle memory, hidden launcher, 0 items, after show/hide", without0.idleMemory, false);
    ReportMemory("idle memory, hidden launcher, 10,000 items with data file, after show/hide", with10000.idleMemory,
                 false);
}

}  // namespace

int main(int argc, char** argv) {
    const int fastSamples = argc > 1 ? atoi(argv[1]) : 8;
    const int slow1000 = argc > 2 ? atoi(argv[2]) : 3;
    const int slow10000 = argc > 3 ? atoi(argv[3]) : 1;
    const int quitSamples = argc > 4 ? atoi(argv[4]) : 3;
    if (fastSamples < 1 || slow1000 < 1 || slow10000 < 1 || quitSamples < 1)
        Fail("sample counts must be at least 1");
    Bench().Run(fastSamples, slow1000, slow10000, quitSamples);
    return 0;
}
