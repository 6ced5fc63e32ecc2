#pragma once
// The interface between the crash handler, the dump writer library it loads at fault time, and the
// dumper program that library starts. Plain C types only: the library is loaded with dlopen and its
// one function is looked up by name.

#include <csignal>
#include <cstdint>
#include <ctime>
#include <sys/types.h>
#include <ucontext.h>

// File names of the crash reporting parts, which lie together: beside the executable in a build
// tree, in the program's own library folder once installed.
inline constexpr char DUMP_WRITER_LIBRARY[] = "libvelmorra_dumpwriter.so";
inline constexpr char DUMP_WRITER_FUNCTION[] = "MiniDumpWriteDump";
inline constexpr char CRASH_DUMPER_PROGRAM[] = "velmorra_crash_dumper";
inline constexpr char CRASH_MESSAGE_PROGRAM[] = "velmorra_crash_message";

// The normal dump type, the only one there is.
inline constexpr int MINIDUMP_NORMAL = 0;

// What the handler knows about the fault. With `clientPointers` false the pointers are the
// faulting process's own, as the handler received them.
struct MiniDumpExceptionInformation {
    pid_t threadId;
    int signalNumber;
    const siginfo_t* signalInfo;
    const ucontext_t* context;  // the registers at the fault; null when there are none
    int clientPointers;
    const char* reason;      // what led to the fault beyond the signal (std::terminate), or null
    const std::tm* localTime;  // the clock reading the file is named after
};

// Writes the report of the process into `file`; 1 when the dumper finished, 0 otherwise. The
// stream and callback arguments exist for the caller's sake and must be null.
using MiniDumpWriteDumpFunction = int (*)(pid_t processId, int file, int dumpType,
                                          const MiniDumpExceptionInformation* exceptionParam,
                                          const void* userStreamParam, const void* callbackParam);

// What the writer hands the dumper on its standard input, fixed-size so nothing is allocated.
struct CrashRecord {
    static constexpr std::uint32_t MAGIC = 0x56435244;  // "VCRD"
    static constexpr std::size_t REASON_SIZE = 512;

    std::uint32_t magic;
    std::uint32_t size;  // sizeof(CrashRecord): both programs must come from one build
    pid_t processId;
    pid_t threadId;
    int signalNumber;
    int hasSignalInfo;
    siginfo_t signalInfo;
    int hasRegisters;
    mcontext_t registers;  // a copy: the floating-point state it points to is not carried over
    int hasLocalTime;
    std::tm localTime;
    char reason[REASON_SIZE];
};
