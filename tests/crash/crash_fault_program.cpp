// Installs the crash handler and faults on purpose, for the crash tests:
//   crash_fault_program <mode> [<YYYYMMDDhhmmss>] [en|zh]
// The optional stamp fixes the clock reading that names the dump file; the language is the one
// the program speaks when it faults (Chinese if none is given). Before it faults the
// program prints "process <pid>" and "worker <tid>" for each thread that is about to fault.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <latch>
#include <stdexcept>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

#include "crash/crash_dump_filter.h"

namespace {

volatile std::uintptr_t g_badAddress = 16;
volatile int g_depthLimit = -1;
std::tm g_fixedTime{};

void FixedClock(std::tm& now)
{
    now = g_fixedTime;
}

TextLanguage g_language = TextLanguage::Chinese;

TextLanguage SpokenLanguage()
{
    return g_language;
}

void SayFaultingThread()
{
    std::printf("worker %ld\n", static_cast<long>(syscall(SYS_gettid)));
    std::fflush(stdout);
}

// Kept out of the sanitizers' reach: the point is a real fault, not a sanitizer's report of it.
__attribute__((noinline, no_sanitize("address", "undefined"))) void FaultOnPurpose()
{
    *reinterpret_cast<volatile int*>(g_badAddress) = 1;
}

__attribute__((noinline, no_sanitize("address", "undefined"))) int Recurse(int depth)
{
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    if (depth == g_depthLimit)
        return 0;
    return Recurse(depth + 1) + frame[0];
}

__attribute__((noinline)) void ThrowOnPurpose()
{
    throw std::runtime_error("校验线程出错");
}

} // namespace

int main(int argc, char** argv)
{
    InstallCrashDumpFilter();
    if (argc > 2 && std::strlen(argv[2]) == 14) {
        int year = 0, month = 0;
        std::sscanf(argv[2], "%4d%2d%2d%2d%2d%2d", &year, &month, &g_fixedTime.tm_mday, &g_fixedTime.tm_hour,
                    &g_fixedTime.tm_min, &g_fixedTime.tm_sec);
        g_fixedTime.tm_year = year - 1900;
        g_fixedTime.tm_mon = month - 1;
        SetCrashClock(&FixedClock);
    }
    if (argc > 3 && std::strcmp(argv[3], "en") == 0) {
        g_language = TextLanguage::English;
        SetCrashLanguageSource(&SpokenLanguage);
    }
    std::printf("process %ld\n", static_cast<long>(getpid()));
    std::fflush(stdout);

    const char* mode = argc > 1 ? argv[1] : "";
    if (std::strcmp(mode, "segv") == 0) {
        SayFaultingThread();
        FaultOnPurpose();
    } else if (std::strcmp(mode, "overflow") == 0) {
        SayFaultingThread();
        return Recurse(0);
    } else if (std::strcmp(mode, "thread-overflow") == 0) {
        std::thread([] {
            InstallThreadSignalStack();  // as the program's thread-start hook does
            SayFaultingThread();
            Recurse(0);
        }).join();
    } else if (std::strcmp(mode, "thread-segv") == 0) {
        std::thread([] {
            SayFaultingThread();
            FaultOnPurpose();
        }).join();
    } else if (std::strcmp(mode, "thread-terminate") == 0) {
        std::thread([] {
            SayFaultingThread();
            ThrowOnPurpose();
        }).join();
    } else if (std::strcmp(mode, "two-threads") == 0) {
        std::latch start(2);
        auto fault = [&start] {
            SayFaultingThread();
            start.arrive_and_wait();
            FaultOnPurpose();
        };
        std::thread first(fault), second(fault);
        first.join();
        second.join();
    }
    return 3;  // no fault happened
}
