// The application object: instance initialisation, the message loop and the exit hook.
#pragma once

#include "framework/ini_profile.h"
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
    // When <executable base name>.ini lies beside the executable, the profile lives in that file
    // instead, and the registry is not used; a file without values first gets a copy of the
    // registry profile. Returns the file's store, nullptr when there is no such file.
    IniProfile* UseProfileBesideProgram();
    ProfileStore& Profile();
    // The executable's folder when the profile lives beside it, else empty.
    const std::string& PortableFolder() const { return portableFolder_; }

protected:
    virtual bool InitInstance() = 0;
    virtual int ExitInstance() { return 0; }

private:
    int RunMessageLoop();
    static bool PreTranslate(MSG* msg);

    Window* mainWindow_ = nullptr;  // not owned
    std::string company_;
    std::unique_ptr<ProfileStore> profile_;
    std::string portableFolder_;
};

// The base name of the running executable ("Kestrovar" for Kestrovar.exe).
std::string ExecutableBaseName();

// The full path of a loaded module (nullptr: the running executable) in UTF-8, empty when it
// does not fit into MAX_PATH.
std::string ModulePath(HMODULE module);
