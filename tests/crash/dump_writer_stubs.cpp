// Dump writer libraries for the crash tests, one per definition: a recording writer that tells
// which library was loaded, a writer that faults, and a library without the writer.

#include <cstdint>
#include <unistd.h>

#include "crash/dump_writer.h"

#define EXPORTED extern "C" __attribute__((visibility("default")))

#if defined(STUB_RECORDING)
EXPORTED int MiniDumpWriteDump(pid_t, int file, int, const MiniDumpExceptionInformation*, const void*, const void*)
{
    static const char text[] = "stub writer\n";
    return write(file, text, sizeof text - 1) == sizeof text - 1 ? 1 : 0;
}
#elif defined(STUB_FAULTING)
volatile std::uintptr_t g_badAddress = 16;
EXPORTED __attribute__((no_sanitize("address", "undefined"))) int MiniDumpWriteDump(
    pid_t, int, int, const MiniDumpExceptionInformation*, const void*, const void*)
{
    *reinterpret_cast<volatile int*>(g_badAddress) = 1;
    return 0;
}
#else
EXPORTED int MiniDumpWriteDumpEx()
{
    return 0;
}
#endif
