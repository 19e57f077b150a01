// The framework layer on real windows under Wine: binding objects to windows and routing
// their messages, subclassed controls with reflected notifications, modal and modeless
// dialogs, the property sheet, the application's message loop, worker threads and the
// handle owners.
#include "framework/application.h"
#include "framework/dialog.h"
#include "framework/handles.h"
#include "framework/property_sheet.h"
#include "framework/registry_profile.h"
#include "framework/window.h"
#include "framework/worker_thread.h"
#include "res/resource.h"
#include "support/gui_driver.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

using kvtest::DriverThread;
using kvtest::PumpPending;
using kvtest::PumpUntil;
using kvtest::WaitForTopLevel;

constexpr char kWindowClass[] = "KvFrameworkTestWindow";
constexpr UINT kProbeMessage = WM_APP + 1;   // answered with wParam + lParam
constexpr UINT kDestroyMessage = WM_APP + 2;  // the window destroys itself
constexpr WPARAM kConsumedProbe = 99;         // PreTranslateMessage of a RecordingWindow eats it
constexpr int kDriverTimeoutMs = 10000;
constexpr int kApplyNowButton = 0x3021;  // the property sheet's Apply button

std::vector<std::string>* g_preTranslateLog = nullptr;

class RecordingWindow : public Window {
public:
    explicit RecordingWindow(std::string name = "") : name_(std::move(name)) {}

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_CREATE)
            boundAtCreate = hwnd() != nullptr && FromHandle(hwnd()) == this;
        if (msg == kProbeMessage) {
            probes.push_back(wParam);
            return static_cast<LRESULT>(wParam + lParam);
        }
        if (msg == kDestroyMessage) {
            DestroyWindow();
            return 0;
        }
        return Window::WindowProc(msg, wParam, lParam);
    }

    bool PreTranslateMessage(MSG* msg) override {
        if (msg->message != kProbeMessage)
            return false;
        if (g_preTranslateLog)
            g_preTranslateLog->push_back(name_);
        return msg->wParam == kConsumedProbe;
    }

    bool boundAtCreate = false;
    std::vector<WPARAM> probes;
    int finalMessages = 0;

protected:
    void OnFinalMessage() override { ++finalMessages; }

private:
    std::string name_;
};

bool CreateTopLevel(Window& window, const char* title, HWND owner = nullptr) {
    RECT rect = {10, 10, 250, 150};
    return window.Create(kWindowClass, 0, title, WS_OVERLAPPEDWINDOW, rect, owner, 0);
}

bool CreateChild(Window& window, HWND parent, UINT id) {
    RECT rect = {5, 5, 100, 60};
    return window.Create(kWindowClass, 0, "", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

// --- window binding -------------------------------------------------------------------

TEST(WindowTest, ThunkBindsEachObjectBeforeWmCreateAndRoutesToItsOwnWindowProc) {
    RecordingWindow first, second;
    ASSERT_TRUE(CreateTopLevel(first, "kv first"));
    ASSERT_TRUE(CreateTopLevel(second, "kv second"));
    EXPECT_TRUE(first.boundAtCreate);
    EXPECT_EQ(&first, Window::FromHandle(first.hwnd()));
    EXPECT_EQ(&second, Window::FromHandle(second.hwnd()));

    EXPECT_EQ(5, SendMessageA(first.hwnd(), kProbeMessage, 2, 3));
    EXPECT_EQ(std::vector<WPARAM>{2}, first.probes);
    EXPECT_TRUE(second.probes.empty());
}

TEST(WindowTest, DestroyingTheWindowUnbindsTheObjectOnceAndTheObjectDestroysItsWindow) {
    RecordingWindow window;
    ASSERT_TRUE(CreateTopLevel(window, "kv destroyed"));
    HWND handle = window.hwnd();
    SendMessageA(handle, kDestroyMessage, 0, 0);
    EXPECT_EQ(nullptr, window.hwnd());
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(1, window.finalMessages);
    window.DestroyWindow();
    EXPECT_EQ(1, window.finalMessages);

    HWND outlived = nullptr;
    {
        RecordingWindow scoped;
        ASSERT_TRUE(CreateTopLevel(scoped, "kv scoped"));
        outlived = scoped.hwnd();
    }
    EXPECT_FALSE(IsWindow(outlived));
}

TEST(WindowTest, FromHandleKnowsOnlyWindowsThisLayerBoundInThisProcess) {
    EXPECT_EQ(nullptr, Window::FromHandle(nullptr));
    EXPECT_EQ(nullptr, Window::FromHandle(GetDesktopWindow()));

    HWND plain = CreateWindowA("STATIC", "plain", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, plain);
    RecordingWindow decoy;
    // Another window's user data may hold anything, even a pointer to one of our objects.
    SetWindowLongPtrA(plain, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&decoy));
    EXPECT_EQ(nullptr, Window::FromHandle(plain));
    DestroyWindow(plain);
    EXPECT_EQ(nullptr, Window::FromHandle(plain));
}

// A second copy of this test program hosts a window of the framework's own class. Its window
// procedure lies at the same address as ours, but the object behind it is in the other process.
TEST(WindowTest, FromHandleRefusesABoundWindowOfAnotherProcess) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string command = std::string("\"") + exe +
                          "\" --gtest_filter=FrameworkHost.DISABLED_HostsAWindow --gtest_also_run_disabled_tests";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);

    HWND foreign = nullptr;
    for (int waited = 0; !foreign && waited < kDriverTimeoutMs; waited += 20) {
        foreign = FindWindowA(kWindowClass, "kv framework host");
        Sleep(20);
    }
    ASSERT_NE(nullptr, foreign);
    EXPECT_EQ(nullptr, Window::FromHandle(foreign));
    PostMessageA(foreign, kDestroyMessage, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(processHandle.get(), kDriverTimeoutMs));
}

TEST(FrameworkHost, DISABLED_HostsAWindow) {
    RecordingWindow window;
    ASSERT_TRUE(CreateTopLevel(window, "kv framework host"));
    PumpUntil([&] { return window.hwnd() == nullptr; }, 2 * kDriverTimeoutMs);
}

// --- subclassed controls ------------------------------------------------------------------

class SubclassedButton : public Window {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP)
            ownMessages.push_back(msg);
        return Window::WindowProc(msg, wParam, lParam);
    }
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && reinterpret_cast<HWND>(lParam) == hwnd()) {
            ++clicks;
            return true;
        }
        if (msg == WM_DRAWITEM && reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem == hwnd()) {
            ++draws;
            *result = TRUE;
            return true;
        }
        return false;
    }
    std::vector<UINT> ownMessages;
    int clicks = 0;
    int draws = 0;
};

TEST(SubclassTest, ASubclassedButtonGetsItsOwnMessagesAndTheReflectedNotifications) {
    RecordingWindow parent;
    ASSERT_TRUE(CreateTopLevel(parent, "kv subclass parent"));
    ShowWindow(parent.hwnd(), SW_SHOWNOACTIVATE);
    HWND raw = CreateWindowA("BUTTON", "owner drawn", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 5, 5, 80, 30,
                             parent.hwnd(), reinterpret_cast<HMENU>(1001), nullptr, nullptr);
    ASSERT_NE(nullptr, raw);
    SubclassedButton button;
    ASSERT_TRUE(button.Subclass(raw));
    EXPECT_FALSE(button.Subclass(raw));  // already bound
    EXPECT_EQ(&button, Window::FromHandle(raw));

    SendMessageA(raw, BM_CLICK, 0, 0);
    EXPECT_EQ((std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}), button.ownMessages);
    EXPECT_EQ(1, button.clicks);

    RedrawWindow(raw, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpPending();
    EXPECT_GE(button.draws, 1);

    // Messages the object does not handle reach the control's own procedure.
    SetWindowTextA(raw, "renamed");
    EXPECT_EQ("renamed", button.GetText());

    DestroyWindow(raw);
    EXPECT_EQ(nullptr, button.hwnd());
}

// --- dialogs ------------------------------------------------------------------------------

class EntryDialog : public Dialog {
public:
    explicit EntryDialog(std::string caption) : Dialog(IDD_TEXT), caption(std::move(caption)) {}

    const std::string caption;
    std::string text;
    int oks = 0;
    int cancels = 0;
    bool boundAtInit = false;

protected:
    BOOL OnInitDialog() override {
        boundAtInit = FromHandle(hwnd()) == this;
        SetWindowTextA(hwnd(), caption.c_str());
        SetItemText(IDC_TEXT_EDIT, text);
        return TRUE;
    }
    void OnOK() override {
        ++oks;
        text = ItemText(IDC_TEXT_EDIT);
        Dialog::OnOK();
    }
    void OnCancel() override {
        ++cancels;
        Dialog::OnCancel();
    }
};

// Runs the dialog modally while a driver thread types into its edit box through its message
// queue, as the keyboard would, then presses a key, which must close it. If it does not, the
// dialog is cancelled so that the test cannot hang.
INT_PTR TypeAndPress(EntryDialog& entry, const char* typed, WPARAM key) {
    std::atomic<bool> closedByKey{false};
    INT_PTR result;
    {
        DriverThread driver([&] {
            HWND dialog = WaitForTopLevel(entry.caption.c_str(), kDriverTimeoutMs);
            if (!dialog)
                return;
            HWND edit = GetDlgItem(dialog, IDC_TEXT_EDIT);
            SendMessageA(edit, EM_SETSEL, 0, -1);
            for (const char* c = typed; *c; ++c)
                PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(*c), 0);
            PostMessageA(edit, WM_KEYDOWN, key, 0);
            for (int waited = 0; waited < kDriverTimeoutMs && IsWindow(dialog); waited += 10)
                Sleep(10);
            closedByKey = !IsWindow(dialog);
            if (IsWindow(dialog))
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        result = entry.DoModal(nullptr);
    }
    EXPECT_TRUE(closedByKey) << entry.caption;
    return result;
}

TEST(DialogTest, ModalDialogFromTemplateReturnsIdOkWithTheTypedText) {
    EntryDialog dialog("kv modal ok");
    dialog.text = "before";
    EXPECT_EQ(IDOK, TypeAndPress(dialog, "typed", VK_RETURN));
    EXPECT_TRUE(dialog.boundAtInit);
    EXPECT_EQ("typed", dialog.text);
    EXPECT_EQ(1, dialog.oks);
    EXPECT_EQ(nullptr, dialog.hwnd());
}

TEST(DialogTest, EscapeCancelsTheModalDialogAndKeepsItsFields) {
    EntryDialog dialog("kv modal cancel");
    dialog.text = "keep";
    EXPECT_EQ(IDCANCEL, TypeAndPress(dialog, "discarded", VK_ESCAPE));
    EXPECT_EQ("keep", dialog.text);
    EXPECT_EQ(0, dialog.oks);
    EXPECT_EQ(1, dialog.cancels);
}

TEST(DialogTest, ModelessDialogIsBoundAndHidesInsteadOfEnding) {
    EntryDialog dialog("kv modeless");
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    ASSERT_NE(nullptr, dialog.hwnd());
    EXPECT_TRUE(dialog.IsModeless());
    EXPECT_TRUE(dialog.boundAtInit);
    ShowWindow(dialog.hwnd(), SW_SHOWNOACTIVATE);

    SendMessageA(dialog.Item(IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(1, dialog.oks);
    EXPECT_TRUE(IsWindow(dialog.hwnd()));
    EXPECT_FALSE(IsWindowVisible(dialog.hwnd()));
}

TEST(DialogTest, AReflectedClickInADialogGoesToTheSubclassedControlFirst) {
    EntryDialog dialog("kv modeless reflected");
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    ShowWindow(dialog.hwnd(), SW_SHOWNOACTIVATE);
    SubclassedButton ok;
    ASSERT_TRUE(ok.Subclass(dialog.Item(IDOK)));
    SendMessageA(ok.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(1, ok.clicks);
    EXPECT_EQ(0, dialog.oks);
    SendMessageA(dialog.Item(IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_EQ(1, dialog.cancels);
}

// --- the application's message loop -------------------------------------------------------

class LoopApp : public Application {
public:
    RecordingWindow owner{"owner"}, main{"main"}, child{"child"}, grandchild{"grandchild"};
    EntryDialog dialog{"kv loop dialog"};
    bool initialiseSucceeds = true;
    int exitCode = 7;

protected:
    bool InitInstance() override {
        if (!initialiseSucceeds)
            return false;
        if (!CreateTopLevel(owner, "kv loop owner") || !CreateTopLevel(main, "kv loop main", owner.hwnd()) ||
            !CreateChild(child, main.hwnd(), 1) || !CreateChild(grandchild, child.hwnd(), 2) ||
            !dialog.CreateModeless(main.hwnd()))
            return false;
        SetMainWindow(&main);
        ShowWindow(dialog.hwnd(), SW_SHOWNOACTIVATE);
        // Posted messages are handled in order; the last one ends the loop.
        PostMessageA(grandchild.hwnd(), kProbeMessage, 1, 0);
        PostMessageA(grandchild.hwnd(), kProbeMessage, kConsumedProbe, 0);
        PostMessageA(dialog.Item(IDC_TEXT_EDIT), WM_KEYDOWN, VK_RETURN, 0);
        PostMessageA(main.hwnd(), kDestroyMessage, 0, 0);
        return true;
    }
    int ExitInstance() override { return exitCode; }
};

TEST(ApplicationTest, LoopOffersEachMessageToTheTargetAndItsAncestorsThenToItsDialog) {
    std::vector<std::string> log;
    g_preTranslateLog = &log;
    LoopApp app;
    EXPECT_EQ(&app, Application::Current());
    EXPECT_EQ(7, app.Main());
    g_preTranslateLog = nullptr;

    // The first probe went up to the top-level window (not to its owner) and was dispatched;
    // the second was consumed by its target and went nowhere else.
    EXPECT_EQ((std::vector<std::string>{"grandchild", "child", "main", "grandchild"}), log);
    EXPECT_EQ(std::vector<WPARAM>{1}, app.grandchild.probes);
    // Enter in the modeless dialog's edit box became its default button through IsDialogMessage.
    EXPECT_EQ(1, app.dialog.oks);
    EXPECT_EQ(nullptr, app.MainWindow());
}

TEST(ApplicationTest, FailedInitialisationSkipsTheLoopAndStillRunsTheExitHook) {
    LoopApp app;
    app.initialiseSucceeds = false;
    app.exitCode = 3;
    EXPECT_EQ(3, app.Main());
}

// --- property sheet -----------------------------------------------------------------------

constexpr char kSheetCaption[] = "kv sheet test";
constexpr UINT kMarkModified = WM_APP + 10;

class CountingPage : public PropertyPageDialog {
public:
    explicit CountingPage(std::string title) : PropertyPageDialog(IDD_TEXT, std::move(title)) {}

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kMarkModified) {
            SetModified(true);
            return 0;
        }
        return PropertyPageDialog::WindowProc(msg, wParam, lParam);
    }

    std::atomic<HWND> window{nullptr};
    int applies = 0;
    int activations = 0;
    int resets = 0;
    bool refuseNextApply = false;

protected:
    BOOL OnInitDialog() override {
        window = hwnd();
        return TRUE;
    }
    bool OnApply() override {
        ++applies;
        return !std::exchange(refuseNextApply, false);
    }
    bool OnSetActive() override {
        ++activations;
        return true;
    }
    void OnReset() override { ++resets; }
};

struct SheetFixture {
    CountingPage first{"first"};
    CountingPage second{"second"};
    PropertySheetWindow sheet{kSheetCaption};
    SheetFixture() {
        sheet.AddPage(&first);
        sheet.AddPage(&second);
    }
};

void Click(HWND sheet, int id) {
    SendMessageA(GetDlgItem(sheet, id), BM_CLICK, 0, 0);
}

// Waits a moment and reports whether the sheet is still open.
bool StillOpenAfterAWhile(HWND sheet) {
    Sleep(300);
    return IsWindow(sheet) && IsWindowVisible(sheet);
}

// Runs the sheet while the driver acts on it; a sheet the driver left open is cancelled.
INT_PTR RunSheet(SheetFixture& fixture, const std::function<void(HWND)>& drive) {
    INT_PTR result;
    DriverThread driver([&] {
        HWND sheet = WaitForTopLevel(kSheetCaption, kDriverTimeoutMs);
        if (!sheet)
            return;
        drive(sheet);
        for (int waited = 0; waited < kDriverTimeoutMs && IsWindow(sheet); waited += 10)
            Sleep(10);
        if (IsWindow(sheet)) {
            ADD_FAILURE() << "the sheet stayed open";
            PostMessageA(sheet, WM_CLOSE, 0, 0);
        }
    });
    result = fixture.sheet.DoModal(nullptr);
    return result;
}

TEST(PropertySheetTest, OkAppliesOnlyThePagesThatWereCreatedAndReturnsIdOk) {
    SheetFixture f;
    INT_PTR result = RunSheet(f, [](HWND sheet) { Click(sheet, IDOK); });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(1, f.first.applies);
    EXPECT_EQ(1, f.first.activations);
    EXPECT_EQ(nullptr, f.second.window.load());
    EXPECT_EQ(0, f.second.applies);
    EXPECT_FALSE(f.first.IsCreated());
}

TEST(PropertySheetTest, ApplyThenCancelReturnsIdCancelAndKeepsWhatWasApplied) {
    SheetFixture f;
    std::atomic<bool> applyEnabledAfterMark{false}, applyEnabledAfterApply{true};
    INT_PTR result = RunSheet(f, [&](HWND sheet) {
        SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        SendMessageA(f.second.window.load(), kMarkModified, 0, 0);
        applyEnabledAfterMark = IsWindowEnabled(GetDlgItem(sheet, kApplyNowButton)) != FALSE;
        Click(sheet, kApplyNowButton);
        applyEnabledAfterApply = IsWindowEnabled(GetDlgItem(sheet, kApplyNowButton)) != FALSE;
        Click(sheet, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_TRUE(applyEnabledAfterMark);
    EXPECT_FALSE(applyEnabledAfterApply);
    EXPECT_EQ(1, f.first.applies);
    EXPECT_EQ(1, f.second.applies);
    EXPECT_FALSE(f.second.IsModified());
    EXPECT_EQ(1, f.first.resets);
    EXPECT_EQ(1, f.second.resets);
}

TEST(PropertySheetTest, ARefusedApplyKeepsTheSheetOpenAndALaterCancelIsNotAnOk) {
    SheetFixture f;
    f.first.refuseNextApply = true;
    std::atomic<bool> openAfterRefusal{false};
    INT_PTR result = RunSheet(f, [&](HWND sheet) {
        Click(sheet, IDOK);
        openAfterRefusal = StillOpenAfterAWhile(sheet);
        Click(sheet, IDCANCEL);
    });
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(1, f.first.applies);
}

TEST(PropertySheetTest, ClosingTheWindowIsACancel) {
    SheetFixture f;
    INT_PTR result = RunSheet(f, [](HWND sheet) { PostMessageA(sheet, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(0, f.first.applies);
}

// --- worker threads -----------------------------------------------------------------------

TEST(WorkerThreadTest, RunsTheBodyAtTheRequestedPriorityAndReleasesIt) {
    for (int priority : {THREAD_PRIORITY_HIGHEST, THREAD_PRIORITY_NORMAL, THREAD_PRIORITY_LOWEST}) {
        UniqueHandle done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        std::atomic<int> seen{-100};
        auto token = std::make_shared<int>(0);
        std::weak_ptr<int> watch = token;
        ASSERT_TRUE(StartWorkerThread(
            [&seen, event = done.get(), token = std::move(token)] {
                seen = GetThreadPriority(GetCurrentThread());
                SetEvent(event);
            },
            priority));
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(done.get(), kDriverTimeoutMs));
        EXPECT_EQ(priority, seen.load());
        EXPECT_TRUE(PumpUntil([&] { return watch.expired(); }));
    }
}

TEST(WorkerThreadTest, TheDefaultPriorityIsNormal) {
    UniqueHandle done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::atomic<int> seen{-100};
    ASSERT_TRUE(StartWorkerThread([&seen, event = done.get()] {
        seen = GetThreadPriority(GetCurrentThread());
        SetEvent(event);
    }));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(done.get(), kDriverTimeoutMs));
    EXPECT_EQ(THREAD_PRIORITY_NORMAL, seen.load());
}

// --- registry profile -------------------------------------------------------------------

// The profile key removed while the program runs (by the user, an uninstaller, a test): the
// values written at exit must land in the registry, not in the deleted key.
TEST(RegistryProfileKeyTest, WritesAndReadsSurviveTheKeyBeingDeletedBehindTheProfile) {
    constexpr char kCompanyKey[] = "Software\\KvFrameworkTestCompany";
    SHDeleteKeyA(HKEY_CURRENT_USER, kCompanyKey);
    RegistryProfile profile("KvFrameworkTestCompany", "App");
    profile.WriteInt("Status", "Count", 1);
    EXPECT_EQ(1, profile.GetInt("Status", "Count", 0));

    ASSERT_EQ(ERROR_SUCCESS, SHDeleteKeyA(HKEY_CURRENT_USER, kCompanyKey));
    profile.WriteInt("Status", "Count", 2);
    profile.WriteString("Status", "Name", "表示");
    RegistryProfile reader("KvFrameworkTestCompany", "App");
    EXPECT_EQ(2, reader.GetInt("Status", "Count", 0));
    EXPECT_EQ("表示", reader.GetString("Status", "Name", ""));

    ASSERT_EQ(ERROR_SUCCESS, SHDeleteKeyA(HKEY_CURRENT_USER, kCompanyKey));
    reader.WriteInt("Status", "Other", 5);
    EXPECT_EQ(5, profile.GetInt("Status", "Other", 0));
    EXPECT_EQ(std::vector<std::string>{"Other"}, profile.ValueNames("Status"));
    SHDeleteKeyA(HKEY_CURRENT_USER, kCompanyKey);
}

// --- handle owners ------------------------------------------------------------------------

template <typename T>
constexpr bool kMoveOnly = !std::is_copy_constructible_v<T> && !std::is_copy_assignable_v<T> &&
                           std::is_nothrow_move_constructible_v<T> && std::is_nothrow_move_assignable_v<T>;
static_assert(kMoveOnly<UniqueIcon> && kMoveOnly<UniqueBitmap> && kMoveOnly<UniqueGdiObject> &&
              kMoveOnly<UniqueMemoryDc> && kMoveOnly<UniqueKey> && kMoveOnly<UniqueModule> &&
              kMoveOnly<UniqueHandle> && kMoveOnly<UniqueFile> && kMoveOnly<UniqueFind> && kMoveOnly<UniqueMenu> &&
              kMoveOnly<UniqueImageList>);
static_assert(!std::is_copy_constructible_v<WindowDc> && !std::is_copy_constructible_v<SelectedObject>);

std::vector<int> g_closed;

struct CountingTraits {
    using Handle = int;
    static Handle Invalid() { return 0; }
    static void Close(Handle h) { g_closed.push_back(h); }
};
using CountingOwner = UniqueAny<CountingTraits>;

TEST(HandleOwnerTest, EveryHandleIsReleasedExactlyOnceWhateverWayItMoves) {
    g_closed.clear();
    {
        CountingOwner a(1);
        CountingOwner b(std::move(a));
        EXPECT_FALSE(a);
        CountingOwner c(2);
        c = std::move(b);  // closes 2, takes 1
        EXPECT_EQ(std::vector<int>{2}, g_closed);
        auto& alias = c;
        c = std::move(alias);  // self-move keeps the handle
        EXPECT_EQ(1, c.get());
        c.reset(3);  // closes 1
        CountingOwner d(4);
        EXPECT_EQ(4, d.release());  // given away: never closed here
        CountingOwner empty;
    }
    EXPECT_EQ((std::vector<int>{2, 1, 3}), g_closed);
}

TEST(HandleOwnerTest, SelectedObjectPutsThePreviousObjectBack) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    UniqueBitmap bitmap(CreateBitmap(4, 4, 1, 1, nullptr));
    HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BITMAP);
    {
        SelectedObject selected(dc.get(), bitmap.get());
        EXPECT_EQ(bitmap.get(), GetCurrentObject(dc.get(), OBJ_BITMAP));
    }
    EXPECT_EQ(original, GetCurrentObject(dc.get(), OBJ_BITMAP));
}

}  // namespace
