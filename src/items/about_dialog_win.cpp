#include "items/about_dialog.h"

#include "hook/hook_interface.h"
#include "res/resource.h"
#include "theme/version_info.h"

namespace {
constexpr char kLibraryVersionPrefix[] = "Kestrovar.dll v";
}  // namespace

CAboutDialog::CAboutDialog() : Dialog(IDD_ABOUT) {}

std::string CAboutDialog::LibraryVersionText() {
    return kLibraryVersionPrefix + GetFileVersion(kHookLibraryName);
}

BOOL CAboutDialog::OnInitDialog() {
    SetItemText(IDC_ABOUT_DLL_VERSION, LibraryVersionText());
    return TRUE;
}
