#pragma once
// How many threads one image operation may spread over. By default every
// processor; a caller that already keeps the processors busy with several
// files at once (mevra-cli convert --jobs) caps it, so the files do not fight
// over the same processors. Results never depend on the number.

namespace mevra {

unsigned worker_threads();

// Caps worker_threads() at n (at least 1) for the rest of the process.
void cap_worker_threads(unsigned n);

}  // namespace mevra
