// The modal settings sheet: four pages that edit the launcher's settings record and item list.
// Pages write into the record on OK and Apply; the sheet itself never touches the profile.
#pragma once

#include "framework/handles.h"

#include "framework/property_sheet.h"
#include "settings/settings_record.h"
#include "settings_ui/contents_page.h"
#include "settings_ui/filter_page.h"
#include "settings_ui/option_page.h"
#include "settings_ui/view_page.h"

// What the sheet tells the part that opened it, on its thread.
class SheetHost {
public:
    // The Apply button has written the pages into the record.
    virtual void OnSheetApplied() = 0;

protected:
    ~SheetHost() = default;
};

class CKestrovarSheet : public PropertySheetWindow {
public:
    // Caption from the string table, pages in tab order, the first page shown first; the pages
    // edit `settings`.
    CKestrovarSheet(KestrovarOptions& settings, SheetHost& host);
    ~CKestrovarSheet() override;

    // Runs the sheet with no owner. IDOK only when the user closed it with OK.
    INT_PTR DoModal();

protected:
    void OnInitSheet() override;
    void OnApplied() override;

private:
    SheetHost& host_;
    CKestrovarOptionPage optionPage_;
    CKestrovarContentsPage contentsPage_;
    CKestrovarViewPage viewPage_;
    CKestrovarFilterPage filterPage_;
    UniqueIcon icon_;  // declared last: destroyed first
};
