#include "framework/application.h"

#include "framework/dialog.h"
#include "text/cmdline.h"
#include "text/unicode.h"

namespace {
Application* g_current = nullptr;  // the one application object of the process
}

Application::Application() {
    g_current = this;
}

Application::~Application() {
    if (g_current == this)
        g_current = nullptr;
}

Application* Application::Current() {
    return g_current;
}

int Application::Main() {
    if (!InitInstance())
        return ExitInstance();
    RunMessageLoop();
    return ExitInstance();
}

void Application::OnMainWindowDestroyed() {
    mainWindow_ = nullptr;
    PostQuitMessage(0);
}

void Application::SetRegistryKey(const std::string& company) {
    company_ = company;
    profile_ = std::make_unique<RegistryProfile>(company, ExecutableBaseName());
}

IniProfile* Application::UseProfileBesideProgram() {
    const std::string program = ModulePath(nullptr);
    const size_t slash = program.rfind('\\');
    if (slash == std::string::npos)
        return nullptr;
    const std::string folder = program.substr(0, slash);
    const std::string path = folder + "\\" + ExecutableBaseName() + ".ini";
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return nullptr;
    auto store = std::make_unique<IniProfile>(path);
    if (store->Load() && store->IsEmpty())
        store->CopyFromRegistry(RegistryProfile(company_, ExecutableBaseName()).RootPath());
    IniProfile* ini = store.get();
    profile_ = std::move(store);
    portableFolder_ = folder;
    return ini;
}

ProfileStore& Application::Profile() {
    if (!profile_)
        profile_ = std::make_unique<RegistryProfile>("", ExecutableBaseName());
    return *profile_;
}

// Offers the message to the target window and each ancestor up to its top-level window,
// then to the modeless dialog it belongs to.
bool Application::PreTranslate(MSG* msg) {
    for (HWND h = msg->hwnd; h; h = GetParent(h)) {
        if (Window* window = Window::FromHandle(h); window && window->PreTranslateMessage(msg))
            return true;
        if (!(GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD))
            break;
    }
    HWND root = msg->hwnd ? GetAncestor(msg->hwnd, GA_ROOT) : nullptr;
    auto* dialog = dynamic_cast<Dialog*>(Window::FromHandle(root));
    return dialog && dialog->IsModeless() && IsDialogMessageW(root, msg);
}

int Application::RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslate(&msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

std::string ExecutableBaseName() {
    return FileTitle(ModulePath(nullptr));
}

std::string ModulePath(HMODULE module) {
    // A path longer than the buffer comes back cut; such a program runs from no folder we can use.
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? Utf8(std::wstring_view(path, n)) : std::string();
}
