// Registering files on a real button and launching its item under Wine: the shell's type and
// display names, version descriptions, dropped-file lists, the open-file dialog, and launches
// that start real programs or find them gone.
#include "items/kv_button.h"

#include "framework/handles.h"
#include "items/launch_item.h"
#include "launcher/messages.h"
#include "support/button_fixture.h"

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

std::string CurrentDirectory() {
    char buffer[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof(buffer), buffer);
    return buffer;
}

std::string ExeFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\') + 1);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// A DROPFILES block with the file list, as the shell hands it to a window.
HDROP MakeDrop(const std::vector<std::string>& files) {
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& file : files)
        size += file.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* p = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
    for (const std::string& file : files) {
        memcpy(p, file.c_str(), file.size() + 1);
        p += file.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
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
        startDirectory_ = CurrentDirectory();
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
        EXPECT_TRUE(CopyFileA((ExeFolder() + tool).c_str(), target.c_str(), FALSE)) << tool;
        return target;
    }

    static std::string RecordOf(const std::string& exePath) {
        return exePath.substr(0, exePath.rfind('.')) + ".launched";
    }

    std::string work_;
    std::string startDirectory_;
};

TEST_F(RegisterLaunchTest, ProgramWithDescriptionIsRegisteredUnderItsDescription) {
    const std::string path = StageTool("kvdescribed.exe", "described");
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

TEST_F(RegisterLaunchTest, DropOfOneFileRegistersItAndDropOfTwoRegistersNothing) {
    const std::string a = StageTool("kvdescribed.exe", "a");
    const std::string b = StageTool("kvlaunchrec.exe", "b");

    SendMessageA(Button(1).hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({a, b})), 0);
    EXPECT_TRUE(launcher_.items.empty());
    EXPECT_TRUE(launcher_.hostCalls.empty());

    SendMessageA(Button(1).hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({b})), 0);
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
    EXPECT_EQ(startDirectory_, CurrentDirectory());
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
            changed = changed || CurrentDirectory() != startDirectory_;
    });
    ASSERT_TRUE(PumpUntil([&] { return launcher_.deleted.size() == kLaunches; }));
    watching = false;
    watcher.join();
    EXPECT_FALSE(changed);
}

// Drives the open-file dialog of KVM_REGISTER from a timer in its modal loop.
struct DialogDriver {
    static DialogDriver* current;
    std::string chooseFile;  // empty: cancel
    std::string directoryWhileOpen;
    bool ownedByLauncher = false;
    HWND launcher = nullptr;
    bool done = false;

    static BOOL CALLBACK FindOpenDialog(HWND window, LPARAM param) {
        char cls[32] = {};
        GetClassNameA(window, cls, sizeof(cls));
        if (strcmp(cls, "#32770") == 0 && IsWindowVisible(window)) {
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
        self.directoryWhileOpen = CurrentDirectory();
        self.ownedByLauncher = GetWindow(dialog, GW_OWNER) == self.launcher;
        if (self.chooseFile.empty()) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        SendMessageA(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(self.chooseFile.c_str()));
        SendMessageA(dialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(self.chooseFile.c_str()));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
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

    EXPECT_EQ(0, SendMessageA(Button().hwnd(), KVM_REGISTER, 0, 0));
    KillTimer(nullptr, timer);

    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof(windows));
    std::string root = windows;
    root = root.substr(0, root.rfind('\\') + 1);
    ASSERT_TRUE(driver.done);
    EXPECT_EQ(root, driver.directoryWhileOpen);
    EXPECT_TRUE(driver.ownedByLauncher);
    EXPECT_EQ(startDirectory_, CurrentDirectory());
    ASSERT_EQ(1u, launcher_.items.size());
    EXPECT_EQ(path, launcher_.items[0]->strCommand);
    EXPECT_EQ(kDescription, launcher_.items[0]->strTip);
}

TEST_F(RegisterLaunchTest, CancelledRegisterRequestChangesNothing) {
    DialogDriver driver;
    driver.launcher = launcher_.hwnd();
    DialogDriver::current = &driver;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &DialogDriver::OnTimer);
    SendMessageA(Button().hwnd(), KVM_REGISTER, 0, 0);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(driver.done);
    EXPECT_TRUE(launcher_.items.empty());
    EXPECT_EQ(startDirectory_, CurrentDirectory());
}

}  // namespace
