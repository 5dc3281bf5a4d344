#pragma once
// `mevra-cli convert --jobs N`: the list's files run on N worker processes at
// once. The reduction state is program-wide in the core, so each file gets a
// process of its own rather than a thread. Workers are forked after the
// options are applied and take the next file whenever they finish one; what a
// file prints (result lines, messages, progress) is collected in the worker
// and printed by the parent in list order, so the output reads as with -j 1.
#include "cli/cli_batch_host.h"

namespace mevra::cli {

// Converts every entry of `host` on up to `jobs` workers and returns the
// number of failures, as cli_batch_host::failures counts them.
int run_on_workers(cli_batch_host& host, int jobs);

}  // namespace mevra::cli
