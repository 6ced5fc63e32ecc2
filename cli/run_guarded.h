#pragma once
// The last line of defence of velmorra-cli's main(): whatever a run throws past RunCli, which
// reports usage errors itself, becomes a message and an exit status instead of std::terminate.

#include <functional>

#include "cli/cli_context.h"

/// Returns what `run` returns; if it throws, writes what went wrong to `context.err` (after
/// flushing what `context.out` holds) and returns EXIT_USAGE.
int RunGuarded(const std::function<int()>& run, CliContext& context);
