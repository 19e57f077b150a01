#include "framework/worker_thread.h"

#include <memory>

namespace {
DWORD WINAPI ThreadEntry(LPVOID parameter) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
    (*body)();
    return 0;
}
}  // namespace

bool StartWorkerThread(std::function<void()> body, int priority) {
    auto* heapBody = new std::function<void()>(std::move(body));
    HANDLE thread = CreateThread(nullptr, 0, &ThreadEntry, heapBody, CREATE_SUSPENDED, nullptr);
    if (!thread) {
        delete heapBody;
        return false;
    }
    SetThreadPriority(thread, priority);
    ResumeThread(thread);
    CloseHandle(thread);
    return true;
}
