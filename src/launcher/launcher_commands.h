// The launcher's commands: its context menu, what the menu's entries do, and the opening of the
// settings sheet. It owns the button the menu was opened on (forgotten at every rebuild, which
// destroys the buttons), the entry chosen there and whether the sheet is open; everything else
// it asks of its CommandHost, the launcher window.
#pragma once

#include <windows.h>

#include "settings_ui/kestrovar_sheet.h"

class CKestrovarSettings;
class CKVButton;

// What the commands ask of the launcher. Every call comes on the launcher's thread.
class CommandHost {
public:
    // The launcher window: the owner of the menu and the dialogs.
    virtual HWND Window() const = 0;
    virtual CKestrovarSettings& Settings() = 0;
    // The launcher button whose window this is; nullptr for any other window.
    virtual CKVButton* ButtonOf(HWND window) = 0;
    virtual void EndDrag() = 0;
    // A modal loop begins and ends (see ModalScope).
    virtual void EnterModal() = 0;
    virtual void LeaveModal() = 0;
    // Before a change of the look: the rebuild after it reloads the icons only if their size changed.
    virtual void NoteIconSize() = 0;
    // Lays the launcher out again in the look of the settings.
    virtual void RebuildLook() = 0;
    // Puts the current page on the buttons again after its items changed.
    virtual void ShowCurrentPage() = 0;
    virtual void SaveUserChange() = 0;
    virtual void FocusButtonUnderCursor() = 0;
    virtual void RegisterHotKeys(bool on) = 0;
    // The hook library takes the wheel-click lock of the settings.
    virtual void ApplyWheelClickLock() = 0;
    virtual void ShowInPlace(int x, int y) = 0;
    virtual void Quit() = 0;

protected:
    ~CommandHost() = default;
};

// A modal loop (a dialog, the context menu, a message box) for the life of the scope.
class ModalScope {
public:
    explicit ModalScope(CommandHost& host) : host_(host) { host_.EnterModal(); }
    ~ModalScope() { host_.LeaveModal(); }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    CommandHost& host_;
};

class LauncherCommands : private SheetHost {
public:
    explicit LauncherCommands(CommandHost& host) : host_(host) {}
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
    void OnSheetApplied() override;
    // A command on the item of the button the menu was opened on; false for an id that is not one.
    bool RunOnItem(int id);

    CommandHost& host_;
    CKVButton* contextButton_ = nullptr;  // not owned
    int menuChoice_ = 0;                  // the entry chosen in the last menu, until it has run
    bool sheetOpen_ = false;
    bool sheetApplied_ = false;  // the open sheet's Apply button wrote into the record
};
