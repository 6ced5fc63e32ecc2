#include "crash/signal_safe_spawn.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Files below this are standard streams: their copies are made above it, so a file that already
// sits at 0 or 1 is not lost when the other is put in place.
constexpr int FIRST_FREE_FILE = 10;

[[noreturn]] void RunChild(const char* program, char* const argv[], int inputFile, int outputFile)
{
    // The C library's state is the faulted thread's copy: system calls only from here.
    const int input = inputFile >= 0 ? fcntl(inputFile, F_DUPFD, FIRST_FREE_FILE) : -1;
    const int output = outputFile >= 0 ? fcntl(outputFile, F_DUPFD, FIRST_FREE_FILE) : -1;
    if (input >= 0)
        dup2(input, STDIN_FILENO);
    if (output >= 0)
        dup2(output, STDOUT_FILENO);
    syscall(SYS_close_range, 3U, ~0U, 0U);

    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigaction(SIGPIPE, &standard, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);

    execve(program, argv, environ);
    _exit(127);
}

} // namespace

pid_t SpawnSignalSafe(const char* program, char* const argv[], int inputFile, int outputFile)
{
    // A fork by the bare system call: fork() would run the C library's fork handlers, which take
    // the allocator's locks that the faulting code may hold. Unlike vfork the child has a copy of
    // memory, so nothing it runs (a sanitizer's interceptors included) can disturb this process.
    const long child = syscall(SYS_clone, SIGCHLD, nullptr, nullptr, nullptr, nullptr);
    if (child == 0)
        RunChild(program, argv, inputFile, outputFile);
    return static_cast<pid_t>(child);
}

bool WaitSignalSafe(pid_t child, int timeoutMs, int& status)
{
    constexpr int STEP_MS = 10;
    for (int waited = 0;;) {
        const pid_t result = waitpid(child, &status, timeoutMs < 0 ? 0 : WNOHANG);
        if (result == child)
            return true;
        if (result < 0) {
            if (errno == EINTR)
                continue;
            status = -1;
            return true;
        }
        if (waited >= timeoutMs)
            return false;
        const timespec step{0, STEP_MS * 1000L * 1000L};
        nanosleep(&step, nullptr);
        waited += STEP_MS;
    }
}
