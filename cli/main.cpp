// velmorra-cli: the window's analyses on the command line, on the core library alone.

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/run_guarded.h"
#include "common/text_language.h"

int main(int argc, char** argv)
{
    // Rows come by the hundred thousand: write them in large blocks unless someone watches.
    static char buffer[1 << 16];
    if (!isatty(STDOUT_FILENO))
        std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    // English for an English locale, Chinese for every other; --lang overrides it.
    SetTextLanguage(LanguageFromEnvironment());
    CliContext context{stdout, stderr};
    return RunGuarded(
        [&] {
            const std::vector<std::string> args(argv + 1, argv + argc);
            return RunCli(args, context);
        },
        context);
}
