// Pixels per inch of the screen, for a program that declares itself DPI aware. The functions
// that give a DPI per monitor or per window are newer than the oldest system the program runs
// on; they are looked up at run time, and the system DPI stands in where they are missing.
#pragma once

#include <windows.h>

// The DPI every monitor has where there is no per-monitor DPI; 0 when the screen cannot tell.
int SystemDpi();
// The DPI of the monitor that holds the point (or is nearest to it); SystemDpi() where the
// system has no per-monitor DPI.
int MonitorDpiAt(POINT screenPoint);
// Keeps the system's dialog manager from rescaling a dialog by itself when its DPI changes:
// the dialog lays itself out again.
void KeepDialogLayoutOnDpiChange(HWND dialog);
