// A modal property sheet on PropertySheetA. Pages translate the sheet's notifications once
// into virtuals; the platform creates pages on demand and applies created pages only.
#pragma once

#include "framework/dialog.h"

#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

class PropertySheetWindow;

class PropertyPageDialog : public Dialog {
public:
    PropertyPageDialog(int templateId, std::string title);

    // Marks the page changed (enables Apply) or unchanged.
    void SetModified(bool changed = true);
    bool IsModified() const { return modified_; }
    bool IsCreated() const { return hwnd() != nullptr; }

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    // Writes the page's controls into the records. Returns false to keep the sheet open.
    virtual bool OnApply() { return true; }
    virtual bool OnSetActive() { return true; }
    virtual void OnReset() {}
    // OK and Cancel belong to the sheet; a page never ends the dialog it lives in.
    void OnOK() override {}
    void OnCancel() override {}

private:
    friend class PropertySheetWindow;
    HPROPSHEETPAGE CreatePageHandle(PropertySheetWindow* sheet);
    static INT_PTR CALLBACK StaticPageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    std::string title_;
    std::wstring wideTitle_;                // what the page handle points at
    PropertySheetWindow* sheet_ = nullptr;  // not owned
    bool modified_ = false;
};

class PropertySheetWindow : public Window {
public:
    explicit PropertySheetWindow(std::string caption) : caption_(std::move(caption)) {}

    void AddPage(PropertyPageDialog* page) { pages_.push_back(page); }
    // Runs the sheet modally. Returns IDOK when the user closed it with OK, IDCANCEL otherwise.
    INT_PTR DoModal(HWND parent);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    // Called once the sheet window exists and its first page has been created.
    virtual void OnInitSheet() {}
    // Called after the Apply button has applied the created pages.
    virtual void OnApplied() {}

private:
    friend class PropertyPageDialog;
    void AttachSheet(HWND sheet);

    std::string caption_;
    std::vector<PropertyPageDialog*> pages_;  // not owned
    bool accepted_ = false;
};
