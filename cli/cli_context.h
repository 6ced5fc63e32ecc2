#pragma once
// What every subcommand writes to: its two streams and the exit status gathered on the way.

#include <cstdio>

inline constexpr int EXIT_ALL_READ = 0;
inline constexpr int EXIT_REFUSED = 1;  // some input line was refused; the others were processed
inline constexpr int EXIT_USAGE = 2;    // a wrong command line or an input that cannot be read

struct CliContext {
    std::FILE* out;
    std::FILE* err;
    int status = EXIT_ALL_READ;

    void Raise(int exitStatus)
    {
        if (exitStatus > status)
            status = exitStatus;
    }
};
