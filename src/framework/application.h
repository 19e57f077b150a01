// The application object: instance initialisation, the message loop and the exit hook.
#pragma once

#include "framework/registry_profile.h"
#include "framework/window.h"

#include <memory>
#include <string>

class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application* Current();

    // Runs InitInstance, the message loop while it succeeded, then ExitInstance.
    int Main();

    Window* MainWindow() const { return mainWindow_; }
    HWND MainWindowHandle() const { return mainWindow_ ? mainWindow_->hwnd() : nullptr; }
    void SetMainWindow(Window* window) { mainWindow_ = window; }
    void OnMainWindowDestroyed();

    // The profile lives under HKCU\Software\<company>\<executable base name>.
    void SetRegistryKey(const std::string& company);
    ProfileStore& Profile();

protected:
    virtual bool InitInstance() = 0;
    virtual int ExitInstance() { return 0; }

private:
    int RunMessageLoop();
    static bool PreTranslate(MSG* msg);

    Window* mainWindow_ = nullptr;  // not owned
    std::unique_ptr<RegistryProfile> profile_;
};

// The base name of the running executable ("Kestrovar" for Kestrovar.exe).
std::string ExecutableBaseName();

// The full path of a loaded module (nullptr: the running executable) in UTF-8, empty when it
// does not fit into MAX_PATH.
std::string ModulePath(HMODULE module);
