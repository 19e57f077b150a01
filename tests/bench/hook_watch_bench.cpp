// What one check of the hook library's watchdog costs (the last input time and the cursor, every
// 2 s on the hook thread), against one posted message, which is what the hook callback does per
// middle-button event.
#include <windows.h>

#include "bench_report.h"
#include "hook/pointer_watch.h"

namespace {

constexpr int kSamples = 200;
constexpr int kCallsPerSample = 1000;

template <typename Fn>
std::vector<double> MicrosecondsPerCall(Fn call) {
    std::vector<double> samples;
    for (int s = 0; s < kSamples; ++s) {
        const double start = bench::NowMs();
        for (int i = 0; i < kCallsPerSample; ++i)
            call();
        samples.push_back((bench::NowMs() - start) * 1000.0 / kCallsPerSample);
    }
    return samples;
}

}  // namespace

int main() {
    HWND target = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    bench::Row post;
    post.name = "one PostMessageA (drained)";
    post.unit = "us";
    post.samples = MicrosecondsPerCall([target] {
        PostMessageA(target, WM_USER, 0, 0);
        MSG msg;
        PeekMessageA(&msg, target, WM_USER, WM_USER, PM_REMOVE);
    });

    kvhook::PointerSeen seen;
    seen.tick = GetTickCount();
    GetCursorPos(&seen.pt);
    volatile bool unseen = false;
    bench::Row check;
    check.name = "hook watchdog: one check (last input time and cursor)";
    check.unit = "us";
    check.samples = MicrosecondsPerCall([&] {
        POINT cursor;
        unseen = kvhook::CheckPointerUnseen(seen, &cursor);
    });
    check.reference = post.name;
    check.referenceP50 = bench::Median(post.samples);
    check.note = "one check per 2 s period";
    bench::Print(post);
    bench::Print(check);
    DestroyWindow(target);
    (void)unseen;
    return 0;
}
