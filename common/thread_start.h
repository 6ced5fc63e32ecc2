#pragma once
// Work that every thread started by core does first. The program installs it: the crash handler
// gives each thread its own signal stack there. Core knows nothing of what it does.

/// What a thread runs before its own work. Whatever it sets up for the thread lives in
/// thread-local storage, so that it ends with the thread.
using ThreadStartHook = void (*)();

/// Installs `hook` for the threads started from now on; null removes it.
void SetThreadStartHook(ThreadStartHook hook);

/// Runs the installed hook on the calling thread, if there is one.
void RunThreadStartHook();
