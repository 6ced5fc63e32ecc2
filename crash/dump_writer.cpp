// The dump writer library, loaded by the crash handler at fault time. It does as little as it can
// inside the faulted process: it starts the dumper program, lets it trace this process and hands it
// what the handler knows about the fault; the dumper reads everything else from outside.

#include "crash/dump_writer.h"

#include <cerrno>
#include <csignal>
#include <climits>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "crash/signal_safe_format.h"
#include "crash/signal_safe_spawn.h"

namespace {

// Reading and symbolising every thread of a large program takes a few seconds at most; a dumper
// that takes longer is stuck, and the user must still get the message.
constexpr int DUMPER_TIMEOUT_MS = 60 * 1000;
constexpr int EXEC_FAILED = 127;

void WriteAll(int file, const void* data, std::size_t length)
{
    const char* bytes = static_cast<const char*>(data);
    while (length > 0) {
        const ssize_t written = write(file, bytes, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
}

// The dumper lies beside this library; failing that, beside the executable.
bool FindDumper(char (&path)[PATH_MAX])
{
    char folder[PATH_MAX] = "";
    Dl_info self{};
    if (dladdr(reinterpret_cast<void*>(&WriteAll), &self) != 0 && self.dli_fname != nullptr &&
        std::strchr(self.dli_fname, '/') != nullptr) {
        SignalSafeFormat(folder, sizeof folder, "%s", self.dli_fname);
    } else {
        const ssize_t length = readlink("/proc/self/exe", folder, sizeof folder - 1);
        if (length <= 0)
            return false;
        folder[length] = '\0';
    }
    char* slash = std::strrchr(folder, '/');
    if (slash == nullptr)
        return false;
    slash[1] = '\0';
    return SignalSafeFormat(path, sizeof path, "%s%s", folder, CRASH_DUMPER_PROGRAM) < sizeof path;
}

void FillRecord(CrashRecord& record, pid_t processId, const MiniDumpExceptionInformation& exception)
{
    record.magic = CrashRecord::MAGIC;
    record.size = sizeof(CrashRecord);
    record.processId = processId;
    record.threadId = exception.threadId;
    record.signalNumber = exception.signalNumber;
    if (exception.signalInfo != nullptr) {
        record.hasSignalInfo = 1;
        std::memcpy(&record.signalInfo, exception.signalInfo, sizeof record.signalInfo);
    }
    if (exception.context != nullptr) {
        record.hasRegisters = 1;
        std::memcpy(&record.registers, &exception.context->uc_mcontext, sizeof record.registers);
    }
    if (exception.localTime != nullptr) {
        record.hasLocalTime = 1;
        record.localTime = *exception.localTime;
    }
    if (exception.reason != nullptr)
        SignalSafeFormat(record.reason, sizeof record.reason, "%s", exception.reason);
}

// When the dumper cannot run, the file still says what the handler knew.
void WriteFallbackReport(int file, const char* dumper, const CrashRecord& record)
{
    char text[1024];
    const void* address = record.hasSignalInfo ? record.signalInfo.si_addr : nullptr;
    const std::size_t length =
        SignalSafeFormat(text, sizeof text,
                         "Velmorra crash report (the dumper %s could not be started)\n"
                         "process: %d\nsignal: %d\nfault address: %p\nfaulting thread: %d\n%s%s",
                         dumper, record.processId, record.signalNumber, address, record.threadId,
                         record.reason[0] != '\0' ? record.reason : "", record.reason[0] != '\0' ? "\n" : "");
    WriteAll(file, text, length < sizeof text ? length : sizeof text - 1);
}

} // namespace

extern "C" __attribute__((visibility("default"))) int MiniDumpWriteDump(
    pid_t processId, int file, int dumpType, const MiniDumpExceptionInformation* exceptionParam,
    const void* userStreamParam, const void* callbackParam)
{
    if (file < 0 || dumpType != MINIDUMP_NORMAL || exceptionParam == nullptr || exceptionParam->clientPointers != 0 ||
        userStreamParam != nullptr || callbackParam != nullptr)
        return 0;
    CrashRecord record{};
    FillRecord(record, processId, *exceptionParam);

    char dumper[PATH_MAX] = "";
    if (!FindDumper(dumper)) {
        WriteFallbackReport(file, CRASH_DUMPER_PROGRAM, record);
        return 0;
    }
    // A process that changed its credentials is not traceable until it says so.
    prctl(PR_SET_DUMPABLE, 1, 0, 0, 0);

    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0) {
        WriteFallbackReport(file, dumper, record);
        return 0;
    }
    char* const argv[] = {dumper, nullptr};
    const pid_t child = SpawnSignalSafe(dumper, argv, channel[0], file);
    close(channel[0]);
    if (child < 0) {
        close(channel[1]);
        WriteFallbackReport(file, dumper, record);
        return 0;
    }
    // Under Yama's restricted tracing only an ancestor may attach; the dumper is our child, so it
    // needs our leave. It reads the record first, so the leave is given before it tries.
    prctl(PR_SET_PTRACER, child, 0, 0, 0);
    WriteAll(channel[1], &record, sizeof record);
    close(channel[1]);

    int status = 0;
    if (!WaitSignalSafe(child, DUMPER_TIMEOUT_MS, status)) {
        kill(child, SIGKILL);
        WaitSignalSafe(child, -1, status);
        return 0;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == EXEC_FAILED)
        WriteFallbackReport(file, dumper, record);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 1 : 0;
}
