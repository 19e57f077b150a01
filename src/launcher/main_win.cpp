#include "launcher/app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CKestrovarApp app;
    return app.Main();
}
