#pragma once
// The hidden temporary files a save has made and not yet renamed or removed.
// A program stopped by a signal in the middle of a save calls
// `remove_pending_temp_files` from its handler, so no half-written hidden
// file is left beside the user's files.
#include <string>

namespace mevra {

// Records `path` (at most `pending_temp_capacity` at once; beyond that a file
// is simply not recorded).
void remember_temp_file(const std::string& path);
// Drops the record once the file was renamed over its target or removed.
void forget_temp_file(const std::string& path);
// Removes every recorded file. Safe to call from a signal handler: it only
// reads fixed buffers and calls unlink.
void remove_pending_temp_files();

// Makes SIGINT and SIGTERM remove the pending files, then end the program
// as the signal would have.
void remove_temp_files_on_stop_signals();

inline constexpr int pending_temp_capacity = 64;

}  // namespace mevra
