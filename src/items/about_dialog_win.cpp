#include "items/about_dialog.h"

#include "framework/system_library.h"
#include "framework/version_info.h"
#include "hook/hook_interface.h"
#include "res/resource.h"
#include "text/unicode.h"

namespace {
constexpr char kLibraryVersionPrefix[] = "Kestrovar.dll v";
}  // namespace

CAboutDialog::CAboutDialog() : Dialog(IDD_ABOUT) {}

std::string CAboutDialog::LibraryVersionText() {
    return kLibraryVersionPrefix + GetFileVersion(Utf8(PathBesideProgram(kHookLibraryName)));
}

BOOL CAboutDialog::OnInitDialog() {
    SetItemText(IDC_ABOUT_DLL_VERSION, LibraryVersionText());
    return TRUE;
}
