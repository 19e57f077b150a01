// kvstorm: a message storm from another process. It sends and posts the launcher's private
// message numbers, the hook library's, WM_COMMAND with the menu ids and random ids, WM_HOTKEY
// and WM_DROPFILES with a handle that is not a drop, each with random parameters, to the
// launcher window and to its buttons. A program of the user's could send any of them.
//
//   kvstorm SEED COUNT     prints "seed SEED count COUNT", then the storm; exit 0 when the
//                          launcher window still exists afterwards, 1 (with the message after
//                          which it was gone) when it does not
//
// The same seed gives the same messages. Left out are the commands whose right effect blocks a
// storm or ends it (the settings sheet, the About box, quit) and the one private message a
// sender may use to change the items (the delete of the launch thread); the scenario sends
// those on purpose.
#include <windows.h>

#include "items/messages.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kCommandsLeftOut[] = {101, 103, 109};  // settings, quit, About
constexpr int kMenuIds[] = {102, 107, 108, 111, 113, 114, 115, 116, 1924, 1925, 1926, 57670};
constexpr int kHotKeyIds = 3;
constexpr int kSmallValues = 40;  // item indexes, slots and ids a storm should hit
constexpr int kButtonRefresh = 50;
constexpr UINT kSendTimeoutMs = 200;

struct Message {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

class Storm {
public:
    explicit Storm(unsigned seed) : random_(seed) {}

    // The private numbers, the hook's, and the system messages the launcher handles itself.
    Message Next() {
        switch (Below(6)) {
            case 0:
            case 1:
                return {PrivateNumber(), static_cast<WPARAM>(Value()), Value()};
            case 2:
                return Command();
            case 3:
                return {WM_HOTKEY, Below(2) ? WPARAM{Below(kHotKeyIds)} : static_cast<WPARAM>(Value()), Value()};
            case 4:
                return {WM_DROPFILES, static_cast<WPARAM>(Value()), Value()};
            default:
                return {Below(2) ? KVM_HOOKCLICK : KVM_HOOKDOWN, static_cast<WPARAM>(Value()), Value()};
        }
    }

    uint32_t Below(uint32_t n) { return random_() % n; }

private:
    UINT PrivateNumber() {
        const UINT n = WM_USER + 10 + Below(12);  // + 10 to + 20, and + 102 for the twelfth
        if (n == KVM_DELETEITEM)
            return KVM_HIDE;
        return n == WM_USER + 21 ? KVM_PAGESTEP : n;
    }

    Message Command() {
        int id = Below(2) ? kMenuIds[Below(sizeof kMenuIds / sizeof kMenuIds[0])] : static_cast<int>(Below(65536));
        for (int left : kCommandsLeftOut) {
            if (id == left)
                id = 102;  // the menu's cancel: a command that changes nothing
        }
        const WPARAM code = Below(4) ? 0 : static_cast<WPARAM>(Below(65536)) << 16;
        return {WM_COMMAND, code | static_cast<WPARAM>(id), Below(4) ? 0 : Value()};
    }

    // Values that cross the limits a handler should check: zero, small indexes, all bits set,
    // 16-bit halves, random words, and addresses in this image's range (the launcher's image
    // lies at the same place, so a pointer taken from a message would point at real memory).
    LPARAM Value() {
        switch (Below(8)) {
            case 0:
                return 0;
            case 1:
                return static_cast<LPARAM>(Below(kSmallValues));
            case 2:
                return -1;
            case 3:
                return static_cast<LPARAM>(Below(2) ? 0xFFFF : 0x7FFFFFFF);
            case 4:
                return static_cast<LPARAM>(MAKELONG(Below(kSmallValues), Below(kSmallValues)));
            case 5:
                return static_cast<LPARAM>(random_());
            case 6:
                return static_cast<LPARAM>((static_cast<uint64_t>(random_()) << 32) | random_());
            default: {
                const auto image = reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr));
                return static_cast<LPARAM>(image + (Below(0x10000) & ~uintptr_t{7}));
            }
        }
    }

    std::mt19937 random_;
};

BOOL CALLBACK CollectButton(HWND child, LPARAM list) {
    char text[64] = {};
    GetWindowTextA(child, text, sizeof text);
    if (strcmp(text, kButtonWindowText) == 0)
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> ButtonsOf(HWND launcher) {
    std::vector<HWND> buttons;
    EnumChildWindows(launcher, &CollectButton, reinterpret_cast<LPARAM>(&buttons));
    return buttons;
}

void Deliver(HWND target, const Message& m, bool post) {
    if (post) {
        PostMessageW(target, m.msg, m.wParam, m.lParam);
        return;
    }
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(target, m.msg, m.wParam, m.lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    const auto seed = static_cast<unsigned>(strtoul(argv[1], nullptr, 0));
    const int count = atoi(argv[2]);
    printf("seed %u count %d\n", seed, count);
    fflush(stdout);
    HWND launcher = FindWindowA(nullptr, kBodyWindowText);
    if (!launcher)
        return 1;
    Storm storm(seed);
    std::vector<HWND> buttons;
    for (int i = 0; i < count; ++i) {
        // The buttons are made again at every rebuild (a theme command does one).
        if (i % kButtonRefresh == 0)
            buttons = ButtonsOf(launcher);
        const bool toButton = !buttons.empty() && storm.Below(2);
        const HWND target = toButton ? buttons[storm.Below(static_cast<uint32_t>(buttons.size()))] : launcher;
        const Message m = storm.Next();
        Deliver(target, m, storm.Below(2) != 0);
        if (!IsWindow(launcher)) {
            printf("the launcher was gone after message %d: 0x%x wParam 0x%llx lParam 0x%llx to the %s\n", i + 1, m.msg,
                   static_cast<unsigned long long>(m.wParam), static_cast<unsigned long long>(m.lParam),
                   toButton ? "button" : "launcher");
            return 1;
        }
    }
    printf("%d messages delivered\n", count);
    return 0;
}
