// kvrefuseelevation.dll: loaded by kvprobe into the launcher's process, it stands in for a user
// who declines the elevation prompt, which Wine does not have. It redirects the program's import
// of ShellExecuteExW: a start with the verb "runas" fails with ERROR_CANCELLED, as the system's
// does after a "No", and leaves "<file>.refused" beside the file it was asked to start; any other
// start goes through.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

using ShellExecuteExFn = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
ShellExecuteExFn g_original = nullptr;

void RecordRefusal(const wchar_t* file) {
    const std::wstring record = std::wstring(file) + L".refused";
    CloseHandle(CreateFileW(record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

BOOL WINAPI RefusingShellExecuteEx(SHELLEXECUTEINFOW* info) {
    if (info && info->lpVerb && lstrcmpiW(info->lpVerb, L"runas") == 0) {
        RecordRefusal(info->lpFile ? info->lpFile : L"");
        SetLastError(ERROR_CANCELLED);
        return FALSE;
    }
    return g_original(info);
}

// Points the main program's import of ShellExecuteExW (from shell32) at the stand-in.
bool RedirectImport() {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress)
        return false;
    g_original = reinterpret_cast<ShellExecuteExFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"shell32"), "ShellExecuteExW")));
    if (!g_original)
        return false;
    bool redirected = false;
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); entry->Name;
         ++entry) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), "shell32.dll") != 0)
            continue;
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk); slot->u1.Function; ++slot) {
            if (slot->u1.Function != reinterpret_cast<ULONG_PTR>(g_original))
                continue;
            DWORD protection = 0;
            VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), PAGE_READWRITE, &protection);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(&RefusingShellExecuteEx);
            VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), protection, &protection);
            redirected = true;
        }
    }
    return redirected;
}

bool g_redirected = false;

}  // namespace

// Whether the import was redirected when the library was loaded (1) or not (0).
extern "C" __declspec(dllexport) DWORD WINAPI kvElevationRefused(void*) {
    return g_redirected ? 1 : 0;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        g_redirected = RedirectImport();
    }
    return TRUE;
}
