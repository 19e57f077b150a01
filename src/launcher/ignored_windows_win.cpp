#include "launcher/body_wnd.h"

#include "launcher/ignore_rules.h"

namespace {
// Class names and titles of up to 259 characters, plus the terminating zero.
constexpr int kNameBufferSize = 260;
}  // namespace

// A window is ignored when its class name or its title matches one of the user's patterns.
bool CKestrovarBodyWnd::IsIgnored(HWND topLevel) {
    char className[kNameBufferSize] = {};
    GetClassNameA(topLevel, className, kNameBufferSize);
    if (MatchesAny(className, settings_.IgnoredClassNames))
        return true;
    return MatchesAny(WindowTextOf(topLevel, kNameBufferSize), settings_.IgnoredWindowNames);
}
