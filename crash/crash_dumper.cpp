// The dumper: reads a crashed process from outside and writes a report a developer can act on.
// It runs as a child of the crashed process, which waits for it; it reads the fault record on
// standard input and writes the report to standard output, the dump file. The stacks are unwound
// through ptrace with elfutils' libdwfl, which also names the functions and finds file and line
// where debug information exists.

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <elfutils/libdwfl.h>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "crash/dump_writer.h"

namespace {

constexpr int MAX_FRAMES = 256;

enum ExitCode { EXIT_REPORTED = 0, EXIT_NO_RECORD = 1, EXIT_NO_BACKTRACE = 2 };

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    char small[256];
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    std::string text;
    if (length < 0) {
        va_end(args);
        return text;
    }
    if (static_cast<std::size_t>(length) < sizeof small) {
        text.assign(small, static_cast<std::size_t>(length));
    } else {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(args);
    return text;
}

bool ReadRecord(CrashRecord& record)
{
    auto* bytes = reinterpret_cast<char*>(&record);
    std::size_t have = 0;
    while (have < sizeof record) {
        const ssize_t n = read(STDIN_FILENO, bytes + have, sizeof record - have);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        have += static_cast<std::size_t>(n);
    }
    return record.magic == CrashRecord::MAGIC && record.size == sizeof record;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string TrimLineEnd(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\0'))
        text.pop_back();
    return text;
}

std::string BaseName(const char* path)
{
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

std::string ThreadName(pid_t process, pid_t thread)
{
    return TrimLineEnd(ReadFile(Format("/proc/%d/task/%d/comm", process, thread)));
}

const char* SignalName(int signalNumber)
{
    switch (signalNumber) {
    case SIGSEGV: return "SIGSEGV";
    case SIGBUS: return "SIGBUS";
    case SIGFPE: return "SIGFPE";
    case SIGILL: return "SIGILL";
    case SIGABRT: return "SIGABRT";
    default: return "signal";
    }
}

// The kernel's own word for why it raised the signal; empty for a signal another process sent.
const char* FaultCause(int signalNumber, int code)
{
    switch (signalNumber) {
    case SIGSEGV:
        switch (code) {
        case SEGV_MAPERR: return "SEGV_MAPERR: address not mapped";
        case SEGV_ACCERR: return "SEGV_ACCERR: access not permitted by the mapping";
        default: break;
        }
        break;
    case SIGBUS:
        switch (code) {
        case BUS_ADRALN: return "BUS_ADRALN: misaligned address";
        case BUS_ADRERR: return "BUS_ADRERR: no such physical address (a mapped file shrank?)";
        case BUS_OBJERR: return "BUS_OBJERR: hardware error";
        default: break;
        }
        break;
    case SIGFPE:
        switch (code) {
        case FPE_INTDIV: return "FPE_INTDIV: integer division by zero";
        case FPE_INTOVF: return "FPE_INTOVF: integer overflow";
        case FPE_FLTDIV: return "FPE_FLTDIV: floating-point division by zero";
        case FPE_FLTOVF: return "FPE_FLTOVF: floating-point overflow";
        case FPE_FLTUND: return "FPE_FLTUND: floating-point underflow";
        case FPE_FLTRES: return "FPE_FLTRES: inexact floating-point result";
        case FPE_FLTINV: return "FPE_FLTINV: invalid floating-point operation";
        case FPE_FLTSUB: return "FPE_FLTSUB: subscript out of range";
        default: break;
        }
        break;
    case SIGILL:
        switch (code) {
        case ILL_ILLOPC: return "ILL_ILLOPC: illegal opcode";
        case ILL_ILLOPN: return "ILL_ILLOPN: illegal operand";
        case ILL_ILLADR: return "ILL_ILLADR: illegal addressing mode";
        case ILL_ILLTRP: return "ILL_ILLTRP: illegal trap";
        case ILL_PRVOPC: return "ILL_PRVOPC: privileged opcode";
        case ILL_PRVREG: return "ILL_PRVREG: privileged register";
        case ILL_COPROC: return "ILL_COPROC: coprocessor error";
        case ILL_BADSTK: return "ILL_BADSTK: internal stack error";
        default: break;
        }
        break;
    default:
        break;
    }
    return "";
}

std::string DescribeSignal(const CrashRecord& record)
{
    std::string text = Format("%s (%d)", SignalName(record.signalNumber), record.signalNumber);
    if (!record.hasSignalInfo)
        return text;
    const siginfo_t& info = record.signalInfo;
    switch (info.si_code) {
    case SI_USER:
        return text + Format(", sent by process %d (kill)", info.si_pid);
    case SI_TKILL:
        return text + Format(", sent by process %d (tkill, raise or abort)", info.si_pid);
    case SI_QUEUE:
        return text + Format(", sent by process %d (sigqueue)", info.si_pid);
    default:
        break;
    }
    const char* cause = FaultCause(record.signalNumber, info.si_code);
    return *cause != '\0' ? text + ", " + cause : text + Format(", code %d", info.si_code);
}

// The address the fault concerns, where the kernel raised the signal for an instruction.
bool HasFaultAddress(const CrashRecord& record)
{
    if (!record.hasSignalInfo || record.signalInfo.si_code <= 0)
        return false;
    const int s = record.signalNumber;
    return s == SIGSEGV || s == SIGBUS || s == SIGFPE || s == SIGILL;
}

std::string DescribeRegisters(const CrashRecord& record)
{
    if (!record.hasRegisters)
        return "  (none: the fault came with no register state)\n";
    std::string text;
#if defined(__x86_64__)
    struct RegisterName {
        const char* name;
        int index;
    };
    static constexpr RegisterName REGISTERS[] = {
        {"rip", REG_RIP}, {"rsp", REG_RSP},       {"rbp", REG_RBP},       {"rax", REG_RAX}, {"rbx", REG_RBX},
        {"rcx", REG_RCX}, {"rdx", REG_RDX},       {"rsi", REG_RSI},       {"rdi", REG_RDI}, {"r8", REG_R8},
        {"r9", REG_R9},   {"r10", REG_R10},       {"r11", REG_R11},       {"r12", REG_R12}, {"r13", REG_R13},
        {"r14", REG_R14}, {"r15", REG_R15},       {"eflags", REG_EFL},    {"err", REG_ERR}, {"trapno", REG_TRAPNO},
        {"cr2", REG_CR2}, {"csgsfs", REG_CSGSFS},
    };
    int column = 0;
    for (const RegisterName& reg : REGISTERS) {
        text += Format("  %-6s 0x%016llx", reg.name,
                       static_cast<unsigned long long>(record.registers.gregs[reg.index]));
        if (++column % 3 == 0)
            text += '\n';
    }
    if (column % 3 != 0)
        text += '\n';
#elif defined(__aarch64__)
    for (int i = 0; i < 31; ++i)
        text += Format("  x%-5d 0x%016llx%s", i, static_cast<unsigned long long>(record.registers.regs[i]),
                       i % 3 == 2 ? "\n" : "");
    text += Format("\n  sp     0x%016llx  pc     0x%016llx  pstate 0x%016llx\n",
                   static_cast<unsigned long long>(record.registers.sp),
                   static_cast<unsigned long long>(record.registers.pc),
                   static_cast<unsigned long long>(record.registers.pstate));
#else
    text += "  (not decoded on this processor)\n";
#endif
    return text;
}

std::string Demangle(const char* name)
{
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(abi::__cxa_demangle(name, nullptr, nullptr, &status),
                                                           &std::free);
    return status == 0 && demangled ? std::string(demangled.get()) : std::string(name);
}

struct ThreadReport {
    pid_t thread = 0;
    std::string text;
};

struct FrameLine {
    bool activation;
    std::string text;
};

struct UnwindContext {
    Dwfl* dwfl;
    std::vector<FrameLine> frames;
    std::string error;
};

// The frames as lines. A signal shows as a run of activation frames (the kernel's return path,
// then the interrupted frame); the marker goes before the last of the run, the frame that faulted.
std::string FrameLines(const std::vector<FrameLine>& frames)
{
    std::string text;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const bool endsRun = i + 1 == frames.size() || !frames[i + 1].activation;
        if (i > 0 && frames[i].activation && endsRun)
            text += "  ---- a signal interrupted the frame below ----\n";
        text += frames[i].text;
    }
    return text;
}

int OnFrame(Dwfl_Frame* state, void* arg)
{
    auto& context = *static_cast<UnwindContext*>(arg);
    const int index = static_cast<int>(context.frames.size());
    Dwarf_Addr pc = 0;
    bool isActivation = false;
    if (!dwfl_frame_pc(state, &pc, &isActivation)) {
        context.error = Format("frame %d unreadable: %s", index, dwfl_errmsg(-1));
        return DWARF_CB_ABORT;
    }
    // A return address points after its call; looking up the byte before it stays in the caller's
    // line. A frame interrupted by a signal (an activation) is exact.
    const Dwarf_Addr lookup = isActivation ? pc : pc - 1;

    std::string line = Format("  #%-3d 0x%016llx", index, static_cast<unsigned long long>(pc));
    if (Dwfl_Module* module = dwfl_addrmodule(context.dwfl, lookup)) {
        GElf_Off offset = 0;
        GElf_Sym symbol{};
        if (const char* name = dwfl_module_addrinfo(module, lookup, &offset, &symbol, nullptr, nullptr, nullptr))
            line += Format(" %s+0x%llx", Demangle(name).c_str(),
                           static_cast<unsigned long long>(offset + (pc - lookup)));
        else
            line += " ??";
        if (Dwfl_Line* source = dwfl_module_getsrc(module, lookup)) {
            int lineNumber = 0;
            if (const char* file = dwfl_lineinfo(source, nullptr, &lineNumber, nullptr, nullptr, nullptr))
                line += Format(" at %s:%d", file, lineNumber);
        }
        if (const char* moduleName =
                dwfl_module_info(module, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr))
            line += " [" + BaseName(moduleName) + "]";
    } else {
        line += " ?? (no mapped file)";
    }
    context.frames.push_back({isActivation, line + '\n'});
    return index + 1 < MAX_FRAMES ? DWARF_CB_OK : DWARF_CB_ABORT;
}

struct ThreadsContext {
    Dwfl* dwfl;
    pid_t process;
    pid_t faultingThread;
    std::vector<ThreadReport> reports;
};

int OnThread(Dwfl_Thread* thread, void* arg)
{
    auto& context = *static_cast<ThreadsContext*>(arg);
    ThreadReport report;
    report.thread = dwfl_thread_tid(thread);
    report.text = Format("Thread %d \"%s\"%s\n", report.thread, ThreadName(context.process, report.thread).c_str(),
                         report.thread == context.faultingThread ? " (the faulting thread)" : "");
    UnwindContext unwind{context.dwfl, {}, {}};
    const int walked = dwfl_thread_getframes(thread, OnFrame, &unwind);
    report.text += FrameLines(unwind.frames);
    if (!unwind.error.empty())
        report.text += "  (" + unwind.error + ")\n";
    else if (unwind.frames.size() >= static_cast<std::size_t>(MAX_FRAMES))
        report.text += Format("  (cut after %d frames)\n", MAX_FRAMES);
    else if (walked < 0)
        report.text += Format("  (unwinding stopped: %s)\n", dwfl_errmsg(-1));
    report.text += '\n';
    context.reports.push_back(std::move(report));
    return DWARF_CB_OK;
}

// Every thread's stack; false when the process could not be read.
bool WriteBacktraces(std::FILE* out, pid_t process, pid_t faultingThread)
{
    char* debuginfoPath = nullptr;
    const Dwfl_Callbacks callbacks{
        .find_elf = dwfl_linux_proc_find_elf,
        .find_debuginfo = dwfl_standard_find_debuginfo,
        .section_address = nullptr,
        .debuginfo_path = &debuginfoPath,
    };
    std::unique_ptr<Dwfl, decltype(&dwfl_end)> dwfl(dwfl_begin(&callbacks), &dwfl_end);
    if (!dwfl) {
        std::fprintf(out, "Threads: not readable (%s)\n\n", dwfl_errmsg(-1));
        return false;
    }
    dwfl_report_begin(dwfl.get());
    const int reported = dwfl_linux_proc_report(dwfl.get(), process);
    dwfl_report_end(dwfl.get(), nullptr, nullptr);
    if (reported != 0) {
        std::fprintf(out, "Threads: not readable (modules: %s)\n\n", reported > 0 ? std::strerror(reported) : dwfl_errmsg(-1));
        return false;
    }
    const int attached = dwfl_linux_proc_attach(dwfl.get(), process, false);
    if (attached != 0) {
        std::fprintf(out, "Threads: not readable (attach: %s)\n\n", attached > 0 ? std::strerror(attached) : dwfl_errmsg(-1));
        return false;
    }
    ThreadsContext context{dwfl.get(), process, faultingThread, {}};
    const int walked = dwfl_getthreads(dwfl.get(), OnThread, &context);
    // The faulting thread first: it is the one a reader looks for.
    std::stable_partition(context.reports.begin(), context.reports.end(),
                          [faultingThread](const ThreadReport& r) { return r.thread == faultingThread; });
    std::fprintf(out, "Threads: %zu (the faulting thread first)\n\n", context.reports.size());
    for (const ThreadReport& report : context.reports)
        std::fputs(report.text.c_str(), out);
    if (walked < 0)
        std::fprintf(out, "(not every thread could be read: %s)\n\n", dwfl_errmsg(-1));
    return !context.reports.empty();
}

void WriteHeader(std::FILE* out, CrashRecord& record)
{
    const pid_t process = record.processId;
    std::string commandLine = ReadFile(Format("/proc/%d/cmdline", process));
    for (char& c : commandLine)
        if (c == '\0')
            c = ' ';
    char program[4096] = "";
    const ssize_t programLength = readlink(Format("/proc/%d/exe", process).c_str(), program, sizeof program - 1);
    if (programLength > 0)
        program[programLength] = '\0';
    char folder[4096] = "";
    const ssize_t folderLength = readlink(Format("/proc/%d/cwd", process).c_str(), folder, sizeof folder - 1);
    if (folderLength > 0)
        folder[folderLength] = '\0';

    std::fputs("Velmorra crash report\n=====================\n", out);
    std::fprintf(out, "program:         %s\n", program);
    std::fprintf(out, "command line:    %s\n", TrimLineEnd(commandLine).c_str());
    std::fprintf(out, "working folder:  %s\n", folder);
    std::fprintf(out, "process:         %d\n", process);
    if (record.hasLocalTime) {
        const std::tm& t = record.localTime;
        std::fprintf(out, "time (local):    %04d-%02d-%02d %02d:%02d:%02d\n", t.tm_year + 1900, t.tm_mon + 1,
                     t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    }
    std::fprintf(out, "signal:          %s\n", DescribeSignal(record).c_str());
    if (HasFaultAddress(record))
        std::fprintf(out, "fault address:   %p\n", record.signalInfo.si_addr);
    std::fprintf(out, "faulting thread: %d \"%s\"\n", record.threadId, ThreadName(process, record.threadId).c_str());
    record.reason[CrashRecord::REASON_SIZE - 1] = '\0';
    if (record.reason[0] != '\0')
        std::fprintf(out, "reason:          %s\n", record.reason);
    std::fprintf(out, "\nRegisters of thread %d at the fault\n%s\n", record.threadId,
                 DescribeRegisters(record).c_str());
}

void WriteMemoryMap(std::FILE* out, pid_t process)
{
    std::fprintf(out, "Memory map (/proc/%d/maps)\n", process);
    std::fputs(ReadFile(Format("/proc/%d/maps", process)).c_str(), out);
}

} // namespace

int main()
{
    // Symbols come from the files on this machine; fetching debug information over the network
    // would hold the user's message back for as long as the network takes.
    unsetenv("DEBUGINFOD_URLS");

    CrashRecord record{};
    if (!ReadRecord(record)) {
        std::fputs("Velmorra crash report\n(no fault record from the crashed process)\n", stdout);
        return EXIT_NO_RECORD;
    }
    std::FILE* out = stdout;
    WriteHeader(out, record);
    std::fflush(out);  // what is known so far survives if reading the process fails badly
    const bool traced = WriteBacktraces(out, record.processId, record.threadId);
    WriteMemoryMap(out, record.processId);
    std::fflush(out);
    return traced ? EXIT_REPORTED : EXIT_NO_BACKTRACE;
}
