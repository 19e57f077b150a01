// kvdecoy.dll: a library planted under another library's name. Loaded into a process, it leaves
// "<its own path>.loaded" beside itself, so that a test sees that the process took it up; it
// exports none of the operations of the library it stands in for.
#include <windows.h>

extern "C" __declspec(dllexport) int kvDecoy() {
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, void*) {
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t path[MAX_PATH + 8] = {};
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return TRUE;
    lstrcatW(path, L".loaded");
    CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return TRUE;
}
