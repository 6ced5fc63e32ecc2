#pragma once
// Starting and waiting for a program from inside a signal handler: system calls only, no
// allocation, no lock, no fork handlers.

#include <sys/types.h>

/// Starts `program` with `argv` and this process's environment. Its standard input and output are
/// `inputFile` and `outputFile` where those are not -1; every other inherited file but standard
/// error is closed, and it starts with no blocked signal. Returns the child's id, or -1.
pid_t SpawnSignalSafe(const char* program, char* const argv[], int inputFile, int outputFile);

/// Waits for `child` to end, at most `timeoutMs` milliseconds (negative: for ever). Returns false
/// on time-out; `status` is waitpid's, or -1 when the child could not be waited for.
bool WaitSignalSafe(pid_t child, int timeoutMs, int& status);
