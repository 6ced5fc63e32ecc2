#pragma once
// The process-wide handler of unhandled faults: a dump file named after the program and the local
// time in the working directory, and a message that tells the user which file to send.

#include <csignal>
#include <ctime>

#include "common/text_language.h"

/// Installs `CrashDumpFilter` for SIGSEGV, SIGBUS, SIGFPE, SIGILL and SIGABRT on an alternate
/// stack of the calling thread, and for std::terminate. Call first in main(), before anything else.
void InstallCrashDumpFilter();

/// Gives the calling thread a signal stack of its own until it ends, so that a stack overflow on it
/// is reported too. The program installs it as core's thread-start hook.
void InstallThreadSignalStack();

/// The fault handler itself: writes the dump, shows the message, then ends the process.
[[noreturn]] void CrashDumpFilter(int signalNumber, siginfo_t* info, void* context);

/// The window the message box is kept above (an X11 window id; 0 for none).
void SetCrashMessageOwner(unsigned long windowId);

/// Where the message's language is read at fault time (the program passes CurrentTextLanguage);
/// Chinese while none is set. The function is called inside the signal handler and must be
/// async-signal-safe.
using CrashLanguageSource = TextLanguage (*)();
void SetCrashLanguageSource(CrashLanguageSource source);

/// Test seam: the reading of the local clock that names the file. A null clock restores the
/// system's. The function is called inside the signal handler and must be async-signal-safe.
using CrashClock = void (*)(std::tm& localTime);
void SetCrashClock(CrashClock clock);
