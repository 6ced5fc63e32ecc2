#include "common/thread_start.h"

#include <atomic>

namespace {

std::atomic<ThreadStartHook> g_threadStartHook{nullptr};

} // namespace

void SetThreadStartHook(ThreadStartHook hook)
{
    g_threadStartHook.store(hook);
}

void RunThreadStartHook()
{
    if (const ThreadStartHook hook = g_threadStartHook.load())
        hook();
}
