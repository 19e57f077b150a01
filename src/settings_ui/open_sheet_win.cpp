#include "launcher/body_wnd.h"

void CKestrovarBodyWnd::OpenSettingsSheet() {}
