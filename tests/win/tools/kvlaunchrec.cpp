// kvlaunchrec: a program without a version resource that records how it was started (see
// launch_record.h). Registration and launch tests use it as an item's program.
#include "launch_record.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RecordLaunch();
}
