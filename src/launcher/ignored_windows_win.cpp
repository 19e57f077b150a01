#include "launcher/body_wnd.h"

#include "text/patterns.h"
#include "text/unicode.h"

namespace {
// Class names and titles of up to 259 UTF-16 units, plus the terminating zero.
constexpr int kNameBufferSize = 260;
}  // namespace

// A window is ignored when its class name or its title matches one of the user's patterns.
bool CKestrovarBodyWnd::IsIgnored(HWND topLevel) {
    wchar_t className[kNameBufferSize] = {};
    GetClassNameW(topLevel, className, kNameBufferSize);
    if (MatchesAny(Utf8(className), settings_.IgnoredClassNames))
        return true;
    return MatchesAny(WindowTextOf(topLevel, kNameBufferSize), settings_.IgnoredWindowNames);
}
