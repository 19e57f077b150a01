// The watchdog's test for a low-level mouse hook that the system has removed without a word
// (it does so when a callback overruns LowLevelHooksTimeout even once): the user moved the
// pointer, and the hook saw none of it.
#pragma once

#include <windows.h>

namespace kvhook {

// What the hook saw last: when (tick count) and where the pointer was.
struct PointerSeen {
    DWORD tick = 0;
    POINT pt = {};
};

// True when there was user input after `seen` and the pointer is no longer where the hook saw
// it. Input that leaves the pointer in place (keys, a click without a move) proves nothing
// either way; a pointer moved by a program (SetCursorPos) comes with no input of its own.
inline bool PointerInputUnseen(DWORD lastInputTick, POINT cursor, const PointerSeen& seen) {
    const bool inputSince = static_cast<LONG>(lastInputTick - seen.tick) > 0;  // wraps after 49 days
    return inputSince && (cursor.x != seen.pt.x || cursor.y != seen.pt.y);
}

// One watchdog check against the system's last input time and the cursor, which it leaves in
// `cursor`. False when either cannot be read (a secure desktop has the input).
inline bool CheckPointerUnseen(const PointerSeen& seen, POINT* cursor) {
    LASTINPUTINFO input = {sizeof(input), 0};
    if (!GetLastInputInfo(&input) || !GetCursorPos(cursor))
        return false;
    return PointerInputUnseen(input.dwTime, *cursor, seen);
}

}  // namespace kvhook
