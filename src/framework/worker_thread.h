// Starts a short-lived worker thread that nobody joins.
#pragma once

#include <windows.h>

#include <functional>

// Runs body on a new thread at the given priority. Returns false when no thread could start.
bool StartWorkerThread(std::function<void()> body, int priority = THREAD_PRIORITY_NORMAL);
