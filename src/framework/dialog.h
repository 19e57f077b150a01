// Dialogs built from templates, modal or modeless. The dialog window is routed through the
// common window procedure from WM_INITDIALOG on, so a dialog handles messages like any window.
#pragma once

#include "framework/window.h"
#include "text/unicode.h"

class Dialog : public Window {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}

    // Runs the dialog modally and returns the value passed to EndDialog.
    INT_PTR DoModal(HWND parent);
    bool CreateModeless(HWND parent);
    void EndDialog(INT_PTR result);
    bool IsModeless() const { return modeless_; }
    int TemplateId() const { return templateId_; }

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
    std::string ItemText(int id) const { return WindowTextOf(Item(id), 0x10000); }
    void SetItemText(int id, const std::string& text) { SetDlgItemTextW(hwnd(), id, Wide(text).c_str()); }

protected:
    // Returns TRUE to let the system set the focus to the first tab stop.
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Returns true when the command was handled.
    virtual bool OnCommand(WORD id, WORD code, HWND control) { return false; }

    // Binds the dialog window at WM_INITDIALOG and returns OnInitDialog's result.
    BOOL BindAndInitialise(HWND hwnd);

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    int templateId_;
    bool modeless_ = false;
};
