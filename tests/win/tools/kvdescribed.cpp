// kvdescribed: a program whose version resource (Japanese, Unicode table) carries a file
// description; it records how it was started like kvlaunchrec.
#include "launch_record.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RecordLaunch();
}
