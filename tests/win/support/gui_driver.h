// Helpers for tests that run modal Win32 user interface: a driver thread that waits for the
// modal window and acts on it while the test thread sits in the modal loop.
#pragma once

#include <windows.h>

#include <functional>
#include <thread>

namespace kvtest {

// Waits for a visible top-level window with this exact caption (UTF-8); nullptr on timeout.
HWND WaitForTopLevel(const char* caption, int timeoutMs = 10000);

// Dispatches the queued messages of the calling thread.
void PumpPending();

// Dispatches messages of the calling thread until condition() holds or the time runs out.
bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// Moves the pointer and waits until the system keeps reporting it there, dispatching the calling
// thread's messages meanwhile: Wine warps the X pointer asynchronously, and motion from an
// earlier warp can still arrive afterwards.
void MoveCursor(int x, int y);

// Runs a body on its own thread and joins it when it goes out of scope.
class DriverThread {
public:
    explicit DriverThread(std::function<void()> body) : thread_(std::move(body)) {}
    ~DriverThread() {
        if (thread_.joinable())
            thread_.join();
    }
    DriverThread(const DriverThread&) = delete;
    DriverThread& operator=(const DriverThread&) = delete;

private:
    std::thread thread_;
};

}  // namespace kvtest
