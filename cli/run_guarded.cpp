#include "cli/run_guarded.h"

#include <exception>
#include <new>
#include <string>

#include "cli/cli_texts.h"

namespace {

constexpr char PROGRAM[] = "velmorra-cli";

void Report(CliContext& context, const std::string& message)
{
    // What was written stays in front of the message, as it would on a normal end.
    std::fflush(context.out);
    std::fputs((message + "\n").c_str(), context.err);
    std::fflush(context.err);
}

} // namespace

int RunGuarded(const std::function<int()>& run, CliContext& context)
{
    try {
        return run();
    } catch (const std::bad_alloc&) {
        Report(context, CliFormat(CliText::OutOfMemory, {PROGRAM}));
    } catch (const std::exception& error) {
        Report(context, CliFormat(CliText::UnexpectedError, {PROGRAM, error.what()}));
    } catch (...) {
        Report(context, CliFormat(CliText::UnexpectedErrorUnknown, {PROGRAM}));
    }
    return EXIT_USAGE;
}
