#include "framework/system_library.h"
#include "launcher/app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictLibrarySearch();
    CKestrovarApp app;
    return app.Main();
}
