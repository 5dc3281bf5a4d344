#pragma once
// The census pass of a batch that reduces every file onto one palette: each
// existing entry is loaded and its colours counted into one census, from
// which one palette is built. The files are then reduced onto it one by one.
#include <cstdint>
#include <functional>
#include <vector>

#include "batch/batch_host.h"

namespace mevra {

enum class shared_palette_outcome {
    built,           // `palette` holds the shared palette
    stopped,         // `stopped` said so between two files
    nothing_loaded,  // no entry gave a picture (each will report itself in its turn)
    refused,         // the reduction refused the census (reported)
};

// Loads the host's entries in list order; load failures stay silent here,
// since the file's own turn reports them. `stopped` is asked before each file,
// after the host has processed events.
shared_palette_outcome shared_palette_pass(batch_host& host, int target,
                                           const std::function<bool()>& stopped,
                                           std::vector<uint32_t>& palette);

}  // namespace mevra
