#pragma once
// A thread's own stack for fault handlers. A signal handler normally runs on the stack of the
// thread that faulted; after a stack overflow that stack is gone, and only a separate one lets the
// crash report still be written. Every thread needs its own: threads do not inherit it.

#include <csignal>
#include <cstddef>
#include <sys/mman.h>

class CSignalStack {
public:
    // Room for the crash handler, the dynamic loader it calls and a sanitizer runtime's frames.
    static constexpr std::size_t SIZE = 256 * 1024;

    CSignalStack()
    {
        void* memory = mmap(nullptr, SIZE, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
        if (memory == MAP_FAILED)
            return;  // the thread keeps working; only an overflow could not be reported
        stack_t stack{};
        stack.ss_sp = memory;
        stack.ss_size = SIZE;
        if (sigaltstack(&stack, &m_previous) == 0)
            m_memory = memory;
        else
            munmap(memory, SIZE);
    }

    ~CSignalStack()
    {
        if (!m_memory)
            return;
        sigaltstack(&m_previous, nullptr);
        munmap(m_memory, SIZE);
    }

    CSignalStack(const CSignalStack&) = delete;
    CSignalStack& operator=(const CSignalStack&) = delete;

    bool Installed() const { return m_memory != nullptr; }

private:
    void* m_memory = nullptr;
    stack_t m_previous{};
};
