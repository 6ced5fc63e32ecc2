#include "crash/crash_dump_filter.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <dlfcn.h>
#include <exception>
#include <fcntl.h>
#include <iterator>
#include <sys/syscall.h>
#include <typeinfo>
#include <unistd.h>

#include "app/maker_info.h"
#include "crash/dump_writer.h"
#include "crash/signal_safe_format.h"
#include "crash/signal_safe_spawn.h"
#include "crash/signal_stack.h"

namespace {

constexpr int FATAL_SIGNALS[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr std::size_t PATH_CAPACITY = PATH_MAX;
constexpr std::size_t MESSAGE_CAPACITY = 1024;
// Loading the library runs the dynamic loader, whose locks the faulting code may hold; a load
// that never returns then ends the process instead of hanging it.
constexpr unsigned LOAD_WATCHDOG_SECONDS = 20;

// The message in each language; no translation machinery runs in a faulted process.
struct CrashTexts {
    const char* loadError;
    const char* cause;
    const char* apology;
};
constexpr CrashTexts CHINESE_TEXTS{
    VELMORRA_PRODUCT_NAME " 遇到未知错误，错误原因：%s 错误代码：%d",
    VELMORRA_PRODUCT_NAME " 遇到未知错误，错误原因：%s",
    VELMORRA_PRODUCT_NAME " 遇到未知错误，我们对此引起的不便表示抱歉，"
                          "请把%s_%02d%02d%02d_%02d%02d%02d.dmp文件发送给我们，以便我们进行改进！"};
constexpr CrashTexts ENGLISH_TEXTS{
    VELMORRA_PRODUCT_NAME_EN " has met an unexpected error. Cause: %s Error code: %d",
    VELMORRA_PRODUCT_NAME_EN " has met an unexpected error. Cause: %s",
    VELMORRA_PRODUCT_NAME_EN " has met an unexpected error. We are sorry for the trouble. "
                             "Please send us the file %s_%02d%02d%02d_%02d%02d%02d.dmp so that we can put it right."};
// The folders, relative to the executable's, where the library and the two programs lie: beside it
// in a build tree, in the program's own library folder once installed (from the install layout).
constexpr const char* HELPER_FOLDERS[] = {"", VELMORRA_CRASH_HELPER_FOLDER};

constexpr char LOAD_ERROR_CAUSE[] = "DBGHELP.DLL LoadLibrary is Error";
constexpr char TOO_OLD_CAUSE[] = "DBGHELP.DLL too old";

// The thread that reports: 0 until the first fault, then that thread's id for good (the process
// ends). Only the handler sets it, once, with a compare-exchange.
std::atomic<pid_t> g_reportingThread{0};
std::atomic<unsigned long> g_ownerWindow{0};
std::atomic<CrashClock> g_clock{nullptr};
std::atomic<CrashLanguageSource> g_language{nullptr};
// The main thread's signal stack, never freed; held here so that a leak checker sees it is kept.
[[gnu::used]] CSignalStack* g_mainSignalStack = nullptr;
// Written by the terminate handler just before it aborts, read by the handler of that abort.
char g_reason[CrashRecord::REASON_SIZE];

pid_t CurrentThreadId()
{
    return static_cast<pid_t>(syscall(SYS_gettid));
}

void WriteAll(int file, const char* text, std::size_t length)
{
    while (length > 0) {
        const ssize_t written = write(file, text, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        text += written;
        length -= static_cast<std::size_t>(written);
    }
}

void SetAction(int signalNumber, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signalNumber, &action, nullptr);
}

void ReadLocalClock(std::tm& now)
{
    if (const CrashClock clock = g_clock.load()) {
        clock(now);
        return;
    }
    const std::time_t seconds = std::time(nullptr);
    localtime_r(&seconds, &now);
}

// Where the program lies and what it is called, from one reading of /proc/self/exe.
struct ProgramPaths {
    bool haveFolder = false;
    char folder[PATH_CAPACITY] = "";  // with its trailing '/'
    char baseName[PATH_CAPACITY] = "";  // the file name without folder and extension
};

void FindProgram(ProgramPaths& paths)
{
    char exe[PATH_CAPACITY];
    const ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (length <= 0)
        return;
    exe[length] = '\0';
    // A program replaced on disk while it runs reads as "<path> (deleted)".
    constexpr char DELETED[] = " (deleted)";
    const std::size_t deletedLength = sizeof DELETED - 1;
    if (static_cast<std::size_t>(length) > deletedLength && std::strcmp(exe + length - deletedLength, DELETED) == 0)
        exe[length - deletedLength] = '\0';

    const char* name = exe;
    if (const char* slash = std::strrchr(exe, '/')) {
        name = slash + 1;
        const std::size_t folderLength = static_cast<std::size_t>(name - exe);
        std::memcpy(paths.folder, exe, folderLength);
        paths.folder[folderLength] = '\0';
        paths.haveFolder = true;
    }
    SignalSafeFormat(paths.baseName, sizeof paths.baseName, "%s", name);
    if (char* dot = std::strrchr(paths.baseName, '.'); dot != nullptr && dot != paths.baseName)
        *dot = '\0';
}

TextLanguage MessageLanguage()
{
    const CrashLanguageSource source = g_language.load();
    return source ? source() : TextLanguage::Chinese;
}

// The path of a crash reporting part in helper folder `index`; false when it does not fit.
bool HelperPath(const ProgramPaths& program, std::size_t index, const char* name, char (&path)[PATH_CAPACITY])
{
    return program.haveFolder &&
           SignalSafeFormat(path, sizeof path, "%s%s%s", program.folder, HELPER_FOLDERS[index], name) < sizeof path;
}

// The message box is a program of its own: this process has faulted and can no longer run a user
// interface. The text also goes to standard error, for a terminal's user.
void ShowCrashMessage(const ProgramPaths& program, const char* text)
{
    WriteAll(STDERR_FILENO, text, std::strlen(text));
    WriteAll(STDERR_FILENO, "\n", 1);
    // The first folder that holds the program; failing all, the one beside the executable, whose
    // start then fails as any other.
    char helper[PATH_CAPACITY];
    bool found = false;
    for (std::size_t index = 0; index < std::size(HELPER_FOLDERS) && !found; ++index)
        found = HelperPath(program, index, CRASH_MESSAGE_PROGRAM, helper) && access(helper, X_OK) == 0;
    if (!found && !HelperPath(program, 0, CRASH_MESSAGE_PROGRAM, helper))
        return;
    char owner[24];
    SignalSafeFormat(owner, sizeof owner, "%lu", g_ownerWindow.load());
    // The box's own button speaks the message's language too.
    char language[] = "zh";
    if (MessageLanguage() == TextLanguage::English)
        SignalSafeFormat(language, sizeof language, "en");
    char* const argv[] = {helper, const_cast<char*>(program.baseName), const_cast<char*>(text), owner, language, nullptr};
    const pid_t child = SpawnSignalSafe(helper, argv, -1, -1);
    int status = 0;
    if (child > 0)
        WaitSignalSafe(child, -1, status);  // as long as the user takes to read it
}

// The error code of a failed load. The loader reports through dlerror() and mostly leaves errno
// as it was; then the library's files in the program's folders say why: there but not loadable,
// or else why the one beside the program cannot be opened (missing, unreadable).
int LoadErrorCode(const ProgramPaths& program)
{
    if (errno != 0)
        return errno;
    int besideError = ENOENT;
    char path[PATH_CAPACITY];
    for (std::size_t index = 0; index < std::size(HELPER_FOLDERS); ++index) {
        if (!HelperPath(program, index, DUMP_WRITER_LIBRARY, path))
            continue;
        const int file = open(path, O_RDONLY | O_CLOEXEC);
        if (file >= 0) {
            close(file);
            return ENOEXEC;
        }
        if (index == 0)
            besideError = errno;
    }
    return besideError;
}

[[noreturn]] void OnTerminate()
{
    // Name what was thrown, so the report says more than that the program aborted.
    if (const std::type_info* type = abi::__cxa_current_exception_type()) {
        int status = 0;
        char* demangled = abi::__cxa_demangle(type->name(), nullptr, nullptr, &status);
        const char* what = nullptr;
        try {
            throw;
        } catch (const std::exception& error) {
            what = error.what();
        } catch (...) {
        }
        SignalSafeFormat(g_reason, sizeof g_reason, "std::terminate: uncaught exception of type %s%s%s",
                         demangled ? demangled : type->name(), what ? ": " : "", what ? what : "");
        std::free(demangled);
    } else {
        SignalSafeFormat(g_reason, sizeof g_reason, "std::terminate called without an active exception");
    }
    std::abort();
}

} // namespace

void CrashDumpFilter(int signalNumber, siginfo_t* info, void* context)
{
    const int exitCode = 128 + signalNumber;
    const pid_t self = CurrentThreadId();
    pid_t idle = 0;
    if (!g_reportingThread.compare_exchange_strong(idle, self)) {
        if (idle == self)
            _exit(exitCode);  // a fault inside the handler: end at once rather than loop
        for (;;)
            pause();  // another thread is reporting, and ends the process when it is done
    }
    SetAction(SIGALRM, SIG_DFL);
    alarm(LOAD_WATCHDOG_SECONDS);
    SetAction(SIGCHLD, SIG_DFL);  // our children must stay waitable whatever the program chose
    SetAction(SIGPIPE, SIG_IGN);  // a dumper that dies early must not end us before the message

    ProgramPaths program;
    FindProgram(program);
    char message[MESSAGE_CAPACITY];
    const CrashTexts& texts = MessageLanguage() == TextLanguage::English ? ENGLISH_TEXTS : CHINESE_TEXTS;

    // The dump writer: first from the program's own folders, then through the normal search.
    void* library = nullptr;
    char libraryPath[PATH_CAPACITY];
    for (std::size_t index = 0; index < std::size(HELPER_FOLDERS) && library == nullptr; ++index)
        if (HelperPath(program, index, DUMP_WRITER_LIBRARY, libraryPath))
            library = dlopen(libraryPath, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        errno = 0;
        library = dlopen(DUMP_WRITER_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        const int loadError = LoadErrorCode(program);
        if (library == nullptr) {
            alarm(0);
            if (const char* detail = dlerror()) {  // the loader's own words, for a developer
                WriteAll(STDERR_FILENO, detail, std::strlen(detail));
                WriteAll(STDERR_FILENO, "\n", 1);
            }
            SignalSafeFormat(message, sizeof message, texts.loadError, LOAD_ERROR_CAUSE, loadError);
            ShowCrashMessage(program, message);
            _exit(exitCode);
        }
    }
    const auto writeDump = reinterpret_cast<MiniDumpWriteDumpFunction>(dlsym(library, DUMP_WRITER_FUNCTION));
    if (writeDump == nullptr) {
        alarm(0);
        SignalSafeFormat(message, sizeof message, texts.cause, TOO_OLD_CAUSE);
        ShowCrashMessage(program, message);
        _exit(exitCode);
    }

    char folder[PATH_CAPACITY];
    if (getcwd(folder, sizeof folder) == nullptr)
        SignalSafeFormat(folder, sizeof folder, "/");
    std::tm now{};
    ReadLocalClock(now);
    const int year = now.tm_year + 1900;
    const int month = now.tm_mon + 1;

    char dumpPath[PATH_CAPACITY];
    const std::size_t folderLength = std::strlen(folder);
    const char* separator = folderLength > 0 && folder[folderLength - 1] == '/' ? "" : "/";
    const std::size_t pathLength =
        SignalSafeFormat(dumpPath, sizeof dumpPath, "%s%s%s_%02d%02d%02d_%02d%02d%02d.dmp", folder, separator,
                         program.baseName, year, month, now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec);
    // A name too long for the buffer is a file that cannot be created: no message, as for that.
    if (pathLength >= sizeof dumpPath)
        _exit(exitCode);
    const int file = open(dumpPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0)
        _exit(exitCode);
    alarm(0);

    const MiniDumpExceptionInformation exception{self,
                                                 signalNumber,
                                                 info,
                                                 static_cast<const ucontext_t*>(context),
                                                 0,
                                                 g_reason[0] != '\0' ? g_reason : nullptr,
                                                 &now};
    writeDump(getpid(), file, MINIDUMP_NORMAL, &exception, nullptr, nullptr);
    close(file);

    SignalSafeFormat(message, sizeof message, texts.apology, program.baseName, year, month, now.tm_mday,
                     now.tm_hour, now.tm_min, now.tm_sec);
    ShowCrashMessage(program, message);
    _exit(exitCode);
}

void InstallCrashDumpFilter()
{
    // Lives as long as the process: a fault may come at any moment until the very end.
    if (!g_mainSignalStack)
        g_mainSignalStack = new CSignalStack;
    // Loads the time zone now, so the handler's reading of the local clock touches no file.
    tzset();

    struct sigaction action {};
    action.sa_sigaction = &CrashDumpFilter;
    // SA_NODEFER: a second fault inside the handler enters it again, and it ends the process.
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : FATAL_SIGNALS)
        sigaction(signalNumber, &action, nullptr);
    std::set_terminate(&OnTerminate);
}

void InstallThreadSignalStack()
{
    thread_local const CSignalStack stack;
    (void)stack;
}

void SetCrashMessageOwner(unsigned long windowId)
{
    g_ownerWindow.store(windowId);
}

void SetCrashLanguageSource(CrashLanguageSource source)
{
    g_language.store(source);
}

void SetCrashClock(CrashClock clock)
{
    g_clock.store(clock);
}
