// Registering files on a real button and launching its item under Wine: the shell's type and
// display names, version descriptions, dropped-file lists, the open-file dialog, and launches
// that start real programs or find them gone.
#include "items/kv_button.h"

#include "framework/application.h"
#include "framework/handles.h"
#include "items/launch_paths.h"
#include "items/messages.h"
#include "settings/launch_item.h"
#include "settings/path_probe.h"
#include "settings/settings_record.h"
#include "support/button_fixture.h"
#include "support/own_paths.h"
#include "support/registry_read.h"
#include "text/unicode.h"

#include <commdlg.h>
#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <vector>

namespace {

constexpr char kTestCompany[] = "KvRegisterTestCompany";
constexpr char kItemsKey[] = "Software\\KvRegisterTestCompany\\Kestrovar\\Path Name";

// A copy of this test program started with this argument only leaves "<own path>.launched"
// beside itself and ends: it knows its own name exactly, under any code page.
constexpr wchar_t kRecordOwnPath[] = L"--kv-record-own-path";
const bool g_recordedOwnPath = [] {
    if (!wcsstr(GetCommandLineW(), kRecordOwnPath))
        return false;
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring record = exe;
    record = record.substr(0, record.rfind(L'.')) + L".launched";
    CloseHandle(CreateFileW(record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ExitProcess(0);
}();
constexpr char kDescription[] = "起動記録ツール";
constexpr int kButtonIndex = 7;

// Stands in for the launcher: the buttons' host, which keeps the records handed over and the
// icon requests in the order they came, and their parent window, which keeps the messages of
// the launch threads.
class RecordingLauncher : public Window, public ButtonHost {
public:
    int DragSource() const override { return -1; }
    void SetDragSource(int) override {}
    void MoveItemLater(int) override {}
    void PageStepLater(int) override {}
    void HideLater() override { hostCalls.push_back("hide later"); }
    void HideNow() override { hostCalls.push_back("hide now"); }
    void AddItem(std::unique_ptr<CLaunchItem> item) override {
        hostCalls.push_back("add item");
        items.push_back(std::move(item));
    }
    HICON IconFor(const std::string& command) override {
        hostCalls.push_back("icon for " + command);
        return icon;
    }

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == KVM_DELETEITEM)
            deleted.push_back(static_cast<int>(wParam));
        if (msg >= WM_USER && msg < WM_USER + 0x1000)
            received.push_back(msg);
        return Window::WindowProc(msg, wParam, lParam);
    }

    size_t Count(UINT msg) const { return static_cast<size_t>(std::count(received.begin(), received.end(), msg)); }

    HICON icon = LoadIcon(nullptr, IDI_APPLICATION);  // shared system icon, never destroyed
    std::vector<std::unique_ptr<CLaunchItem>> items;
    std::vector<std::string> hostCalls;
    std::vector<int> deleted;
    std::vector<UINT> received;
};

using kvtest::PumpPending;

// Pumps messages (the launch thread sends some) until condition holds or 20 s have passed.
bool PumpUntil(const std::function<bool()>& condition) {
    return kvtest::PumpUntil(condition, 20000);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteText(const std::string& path, const std::string& text) {
    HANDLE file =
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE &&
                    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok;
}

// A DROPFILES block with the file list in UTF-16, as the shell hands it to a window.
HDROP MakeWideDrop(const std::vector<std::wstring>& files) {
    size_t units = 1;
    for (const std::wstring& file : files)
        units += file.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + units * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* p = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(drop) + sizeof(DROPFILES));
    for (const std::wstring& file : files) {
        memcpy(p, file.c_str(), (file.size() + 1) * sizeof(wchar_t));
        p += file.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

HDROP MakeDrop(const std::vector<std::string>& files) {
    std::vector<std::wstring> wide;
    for (const std::string& file : files)
        wide.push_back(Wide(file));
    return MakeWideDrop(wide);
}

class RegisterLaunchTest : public kvtest::ButtonFixture<RecordingLauncher> {
protected:
    RegisterLaunchTest() : ButtonFixture(kTestCompany, "KvRecordingLauncher", 0) {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ButtonFixture::SetUp());
        for (int i = 0; i < 2; ++i)
            Button(i).SetButtonItem(kButtonIndex + i, "", "", nullptr, 16);

        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof(temp), temp);
        work_ = std::string(temp) + "kv_register_" + std::to_string(GetCurrentProcessId());
        SHCreateDirectoryExA(nullptr, work_.c_str(), nullptr);
        startDirectory_ = kvtest::CurrentDirectory();
        PumpPending();
    }

    void TearDown() override {
        ButtonFixture::TearDown();
        SetCurrentDirectoryA(startDirectory_.c_str());
        // Double NUL for SHFileOperation.
        std::string from = work_ + std::string(2, '\0');
        SHFILEOPSTRUCTA remove = {};
        remove.wFunc = FO_DELETE;
        remove.pFrom = from.c_str();
        remove.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        SHFileOperationA(&remove);
    }

    // Copies a test program into folder (created) under the work folder; returns its path.
    std::string StageTool(const char* tool, const std::string& folder) {
        const std::string dir = work_ + "\\" + folder;
        SHCreateDirectoryExA(nullptr, dir.c_str(), nullptr);
        const std::string target = dir + "\\" + tool;
        EXPECT_TRUE(CopyFileW(Wide(kvtest::OwnFolder() + "\\" + tool).c_str(), Wide(target).c_str(), FALSE)) << tool;
        return target;
    }

    // The rule for programs keys on the shell's Japanese name for them; a shell of another
    // language names them otherwise, and they are registered under their display names.
    static bool ShellNamesProgramsInJapanese(const std::string& path) {
        SHFILEINFOW info = {};
        return SHGetFileInfoW(Wide(path).c_str(), 0, &info, sizeof(info), SHGFI_TYPENAME) &&
               Utf8(info.szTypeName) == kApplicationTypeName;
    }

    static std::string RecordOf(const std::string& exePath) {
        return exePath.substr(0, exePath.rfind('.')) + ".launched";
    }

    std::string work_;
    std::string startDirectory_;
};

TEST_F(RegisterLaunchTest, ProgramWithDescriptionIsRegisteredUnderItsDescription) {
    const std::string path = StageTool("kvdescribed.exe", "described");
    if (!ShellNamesProgramsInJapanese(path))
        GTEST_SKIP() << "the shell names programs in another language";
    Button().RegisterFile(path);

    ASSERT_EQ(1u, launcher_.items.size());
    EXPECT_EQ(kButtonIndex, launcher_.items[0]->nIndex);
    EXPECT_EQ(kDescription, launcher_.items[0]->strTip);
    EXPECT_EQ(path, launcher_.items[0]->strCommand);
    EXPECT_EQ(kDescription, Button().TooltipText());
    // The icon is asked for after the record was handed over, and kept.
    EXPECT_EQ((std::vector<std::string>{"add item", "icon for " + path}), launcher_.hostCalls);
    EXPECT_EQ(launcher_.icon, Button().Icon());
}

TEST_F(RegisterLaunchTest, ProgramWithoutVersionResourceIsRegisteredUnderItsPath) {
    const std::string path = StageTool("kvlaunchrec.exe", "plain");
    if (!ShellNamesProgramsInJapanese(path))
        GTEST_SKIP() << "the shell names programs in another language";
    Button().RegisterFile(path);
    ASSERT_EQ(1u, launcher_.items.size());
    EXPECT_EQ(path, launcher_.items[0]->strTip);
}

TEST_F(RegisterLaunchTest, DocumentIsRegisteredUnderTheShellDisplayName) {
    const std::string path = work_ + "\\memo.txt";
    std::ofstream(path) << "text";
    Button().RegisterFile(path);
    ASSERT_EQ(1u, launcher_.items.size());
    const std::string tip = launcher_.items[0]->strTip;
    EXPECT_TRUE(tip == "memo.txt" || tip == "memo") << tip;
    EXPECT_EQ(path, launcher_.items[0]->strCommand);
}

TEST_F(RegisterLaunchTest, OnlyADropOfOneFileRegistersIt) {
    const std::string a = StageTool("kvdescribed.exe", "a");
    const std::string b = StageTool("kvlaunchrec.exe", "b");

    SendMessageW(Button(1).hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({a, b})), 0);
    EXPECT_TRUE(launcher_.items.empty());
    EXPECT_TRUE(launcher_.hostCalls.empty());

    // Handles that are no drop, as any program may post: values, and blocks whose header points
    // past their end or whose list of names never ends. Nothing is read past them or freed.
    HGLOBAL pastEnd = GlobalAlloc(GHND, sizeof(DROPFILES) + 4);
    static_cast<DROPFILES*>(GlobalLock(pastEnd))->pFiles = 0x7FFFFFF0;
    GlobalUnlock(pastEnd);
    HGLOBAL unended = GlobalAlloc(GHND, sizeof(DROPFILES) + 8);
    auto* header = static_cast<DROPFILES*>(GlobalLock(unended));
    header->pFiles = sizeof(DROPFILES);
    memset(header + 1, 'x', 8);
    GlobalUnlock(unended);
    for (HGLOBAL bogus : {HGLOBAL(1), HGLOBAL(-1), pastEnd, unended})
        SendMessageW(Button(1).hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(bogus), 0);
    EXPECT_TRUE(launcher_.items.empty());
    EXPECT_NE(0u, GlobalSize(unended));  // not freed
    GlobalFree(pastEnd);
    GlobalFree(unended);

    SendMessageW(Button(1).hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({b})), 0);
    ASSERT_EQ(1u, launcher_.items.size());
    EXPECT_EQ(kButtonIndex + 1, launcher_.items[0]->nIndex);
    EXPECT_EQ(b, launcher_.items[0]->strCommand);
}

TEST_F(RegisterLaunchTest, LaunchStartsTheProgramInItsFolderAfterHiding) {
    const std::string path = StageTool("kvlaunchrec.exe", "run here");
    Button().SetButtonItem(kButtonIndex, path + " -x 1", "tip", nullptr, 16);
    Button().StartLaunch();

    const std::string record = RecordOf(path);
    ASSERT_TRUE(PumpUntil([&] { return PathFileExistsA(record.c_str()) && ReadFile(record).size() > 2; }));
    EXPECT_EQ(work_ + "\\run here\n-x 1\n", ReadFile(record));
    // The hide was sent and handled before the program was started.
    EXPECT_EQ(1u, launcher_.Count(KVM_HIDE));
    EXPECT_TRUE(launcher_.deleted.empty());
    EXPECT_EQ(startDirectory_, kvtest::CurrentDirectory());
}

TEST_F(RegisterLaunchTest, LaunchWithoutHideOptionDoesNotHide) {
    settings_->HideOption = 0;
    const std::string path = StageTool("kvlaunchrec.exe", "nohide");
    Button().SetButtonItem(kButtonIndex, path, "tip", nullptr, 16);
    Button().StartLaunch();
    ASSERT_TRUE(PumpUntil([&] { return PathFileExistsA(RecordOf(path).c_str()); }));
    Sleep(100);
    PumpPending();
    EXPECT_EQ(0u, launcher_.Count(KVM_HIDE));
}

TEST_F(RegisterLaunchTest, LaunchOfMissingProgramClearsTheItemAndHides) {
    Button().SetButtonItem(kButtonIndex, work_ + "\\gone\\gone.exe /q", "tip", nullptr, 16);
    Button().StartLaunch();
    ASSERT_TRUE(PumpUntil([&] { return !launcher_.deleted.empty() && launcher_.Count(KVM_HIDE) == 1; }));
    EXPECT_EQ(std::vector<int>{kButtonIndex}, launcher_.deleted);
}

TEST_F(RegisterLaunchTest, LaunchOfEmptyButtonOnlyHides) {
    Button().StartLaunch();
    ASSERT_TRUE(PumpUntil([&] { return launcher_.Count(KVM_HIDE) == 1; }));
    Sleep(100);
    PumpPending();
    EXPECT_TRUE(launcher_.deleted.empty());
}

// Launches run on worker threads while the GUI thread reads paths: their searches must never
// change the current directory of the whole process, not even for a moment. (Wine's shell
// itself enters the directory given to ShellExecute for the time of the call, so only launches
// that end before it are watched.)
TEST_F(RegisterLaunchTest, OverlappingLaunchesNeverChangeTheCurrentDirectory) {
    constexpr int kLaunches = 200;
    for (int i = 0; i < kLaunches; ++i) {
        const std::string folder = work_ + "\\f" + std::to_string(i % 4);
        SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
        Button(i % 2).SetButtonItem(i, folder + "\\missing.exe", "tip", nullptr, 16);
        Button(i % 2).StartLaunch();
    }
    // A thread of its own watches without pause: a change may last only microseconds.
    std::atomic<bool> watching{true};
    std::atomic<bool> changed{false};
    std::thread watcher([&] {
        while (watching)
            changed = changed || kvtest::CurrentDirectory() != startDirectory_;
    });
    ASSERT_TRUE(PumpUntil([&] { return launcher_.deleted.size() == kLaunches; }));
    watching = false;
    watcher.join();
    EXPECT_FALSE(changed);
}

// Drives the open-file dialog of OnRegisterRequest from a timer in its modal loop.
struct DialogDriver {
    static DialogDriver* current;
    std::string chooseFile;  // empty: cancel
    std::string directoryWhileOpen;
    bool ownedByLauncher = false;
    HWND launcher = nullptr;
    bool done = false;

    static BOOL CALLBACK FindOpenDialog(HWND window, LPARAM param) {
        wchar_t cls[32] = {};
        GetClassNameW(window, cls, ARRAYSIZE(cls));
        if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        }
        return TRUE;
    }

    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
        DialogDriver& self = *current;
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &FindOpenDialog, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog || self.done)
            return;
        self.done = true;
        KillTimer(nullptr, id);
        self.directoryWhileOpen = kvtest::CurrentDirectory();
        self.ownedByLauncher = GetWindow(dialog, GW_OWNER) == self.launcher;
        if (self.chooseFile.empty()) {
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        const std::wstring file = Wide(self.chooseFile);
        SendMessageW(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(file.c_str()));
        SendMessageW(dialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(file.c_str()));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
};
DialogDriver* DialogDriver::current = nullptr;

TEST_F(RegisterLaunchTest, RegisterRequestOpensTheDialogAtTheWindowsRootAndRegistersTheChoice) {
    const std::string path = StageTool("kvdescribed.exe", "chosen");
    DialogDriver driver;
    driver.chooseFile = path;
    driver.launcher = launcher_.hwnd();
    DialogDriver::current = &driver;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &DialogDriver::OnTimer);

    Button().OnRegisterRequest();
    KillTimer(nullptr, timer);

    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    std::string root = Utf8(windows);
    root = root.substr(0, root.rfind('\\') + 1);
    ASSERT_TRUE(driver.done);
    EXPECT_EQ(root, driver.directoryWhileOpen);
    EXPECT_TRUE(driver.ownedByLauncher);
    EXPECT_EQ(startDirectory_, kvtest::CurrentDirectory());
    ASSERT_EQ(1u, launcher_.items.size());
    EXPECT_EQ(path, launcher_.items[0]->strCommand);
    if (ShellNamesProgramsInJapanese(path))
        EXPECT_EQ(kDescription, launcher_.items[0]->strTip);
}

TEST_F(RegisterLaunchTest, CancelledRegisterRequestChangesNothing) {
    DialogDriver driver;
    driver.launcher = launcher_.hwnd();
    DialogDriver::current = &driver;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &DialogDriver::OnTimer);
    Button().OnRegisterRequest();
    KillTimer(nullptr, timer);
    ASSERT_TRUE(driver.done);
    EXPECT_TRUE(launcher_.items.empty());
    EXPECT_EQ(startDirectory_, kvtest::CurrentDirectory());
}

// Names that no single code page holds, in a folder that none holds either, beside a decoy that
// a best-fit conversion of the first name would give.
class UnicodeNamesTest : public RegisterLaunchTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(RegisterLaunchTest::SetUp());
        // One folder per test: the programs a test started may still hold theirs.
        folder_ = work_ + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\Données 表";
        ASSERT_EQ(ERROR_SUCCESS, SHCreateDirectoryExW(nullptr, Wide(folder_).c_str(), nullptr));
    }

    std::string folder_;
};

const char* const kUnicodeNames[] = {"café", "한글", "😀"};
constexpr char kDecoyName[] = "cafe";

TEST_F(UnicodeNamesTest, DroppedAndChosenNamesAreRegisteredAndStoredExactly) {
    ASSERT_TRUE(WriteText(folder_ + "\\" + kDecoyName + ".txt", "decoy"));
    KestrovarOptions options;
    std::map<std::string, std::string> expected;
    for (int i = 0; i < 3; ++i) {
        const std::string path = folder_ + "\\" + kUnicodeNames[i] + ".txt";
        ASSERT_TRUE(WriteText(path, kUnicodeNames[i]));
        launcher_.items.clear();
        if (i == 1) {  // one through the file dialog
            DialogDriver driver;
            driver.chooseFile = path;
            driver.launcher = launcher_.hwnd();
            DialogDriver::current = &driver;
            const UINT_PTR timer = SetTimer(nullptr, 0, 100, &DialogDriver::OnTimer);
            Button().OnRegisterRequest();
            KillTimer(nullptr, timer);
        } else {
            SendMessageW(Button().hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
        }
        ASSERT_EQ(1u, launcher_.items.size()) << path;
        EXPECT_EQ(path, launcher_.items[0]->strCommand);
        options.Items.SetItem(i, launcher_.items[0]->strTip, path);
        expected["Button" + std::to_string(i)] = launcher_.items[0]->strTip + "*" + path;
    }
    SaveOptions(options, *profile_);
    EXPECT_EQ(expected, kvtest::ReadRegistrySection(kItemsKey));

    KestrovarOptions read;
    LoadOptions(read, *profile_);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(folder_ + "\\" + kUnicodeNames[i] + ".txt", read.Items.FindItem(i)->strCommand);
}

TEST_F(UnicodeNamesTest, AClickStartsTheExactFileAndNeverTheDecoy) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::string decoy = folder_ + "\\" + kDecoyName + ".exe";
    ASSERT_TRUE(CopyFileW(self, Wide(decoy).c_str(), FALSE));
    for (const char* name : kUnicodeNames) {
        const std::string path = folder_ + "\\" + name + ".exe";
        ASSERT_TRUE(CopyFileW(self, Wide(path).c_str(), FALSE));
        Button().SetButtonItem(kButtonIndex, path + " " + Utf8(kRecordOwnPath), "tip", nullptr, 16);
        Button().StartLaunch();
        EXPECT_TRUE(PumpUntil([&] { return Exists(RecordOf(path)); })) << path;
    }
    EXPECT_FALSE(Exists(RecordOf(decoy)));
    EXPECT_TRUE(launcher_.deleted.empty());
}

// '?' and '*' are never wildcards to the path probe: a stored command that holds one names no
// file, however many files a search would find.
TEST_F(UnicodeNamesTest, ThePathProbeFindsExactNamesOnly) {
    ASSERT_TRUE(WriteText(folder_ + "\\cafe.txt", "decoy"));
    ASSERT_TRUE(WriteText(folder_ + "\\café.txt", "item"));
    const std::pair<std::string, bool> cases[] = {
        {folder_ + "\\café.txt", true},
        {folder_ + "\\cafe.txt", true},
        {folder_ + "\\caf?.txt", false},
        {folder_ + "\\caf*.txt", false},
        {folder_ + "\\*", false},
        {folder_ + "\\", false},
        {folder_, true},
        {folder_ + "\\cafè.txt", false},
    };
    for (const auto& [path, found] : cases)
        EXPECT_EQ(found, GetPathAttributes(path) != 0) << path;
}

// A name the system hands over with half of a surrogate pair cannot be kept in UTF-8 unchanged:
// it is refused with a message, never registered as another name.
TEST_F(UnicodeNamesTest, ANameWithAnUnpairedSurrogateIsRefusedWithAMessage) {
    const std::wstring broken = Wide(folder_) + L"\\x\xD800.txt";
    bool messageShown = false;
    {
        kvtest::DriverThread driver([&] {
            HWND box = kvtest::WaitForTopLevel(ExecutableBaseName().c_str());
            messageShown = box != nullptr;
            if (box)
                PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        SendMessageW(Button().hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeWideDrop({broken})), 0);
    }
    EXPECT_TRUE(messageShown);
    EXPECT_TRUE(launcher_.items.empty());
}

}  // namespace
