// The launcher's commands: its context menu, what the menu's entries do, and the opening of the
// settings sheet. It owns the button the menu was opened on (forgotten at every rebuild, which
// destroys the buttons), the entry chosen there and whether the sheet is open; everything else
// it asks of the launcher.
#pragma once

#include <windows.h>

class CKestrovarBodyWnd;
class CKVButton;

class LauncherCommands {
public:
    explicit LauncherCommands(CKestrovarBodyWnd& launcher) : launcher_(launcher) {}
    LauncherCommands(const LauncherCommands&) = delete;
    LauncherCommands& operator=(const LauncherCommands&) = delete;

    // The context menu for a right click on clicked (a button or the launcher itself) at
    // screenPoint, (-1, -1) for the keyboard's menu key.
    void ShowMenu(HWND clicked, POINT screenPoint);
    // Carries out a command of the launcher sent to its window; false for an id that is not one.
    // The commands on an item act only when chosen in the menu opened on its button: from
    // anywhere else they have no item, and do nothing.
    bool Run(int id);
    void OpenSettingsSheet();
    void ForgetButton() { contextButton_ = nullptr; }

private:
    // A command on the item of the button the menu was opened on; false for an id that is not one.
    bool RunOnItem(int id);

    CKestrovarBodyWnd& launcher_;
    CKVButton* contextButton_ = nullptr;  // not owned
    int menuChoice_ = 0;                  // the entry chosen in the last menu, until it has run
    bool sheetOpen_ = false;
};
