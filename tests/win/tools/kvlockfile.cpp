// kvlockfile PATH MS: opens PATH for reading and writing with no sharing, as another program
// holding the file would, and keeps it open for MS milliseconds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    HANDLE file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    printf("locked\n");
    fflush(stdout);
    Sleep(static_cast<DWORD>(atoi(argv[2])));
    CloseHandle(file);
    return 0;
}
