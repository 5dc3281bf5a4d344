#pragma once
// Whole-file reading and safe whole-file writing.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mevra {

// Reads a whole file. Returns false with a reason on failure.
bool read_whole_file(const std::string& path, std::vector<uint8_t>& out, std::string& error);

// Writes `bytes` to a temporary file beside `path`, flushes it to disc and
// renames it over `path`. On any failure the temporary file is removed, an
// existing file at `path` is left untouched, and the reason is returned.
bool write_file_atomic(const std::string& path, std::span<const uint8_t> bytes, std::string& error);

// For writers that stream into a file (the AVI re-encoder): creates an empty
// hidden temporary file beside `path` and returns its name in `temp`.
bool create_temp_beside(const std::string& path, std::string& temp, std::string& error);
// Flushes `temp` to disc, gives it the permissions of the file it replaces and
// renames it over `path`. On failure `temp` is removed and `path` untouched.
bool commit_temp(const std::string& temp, const std::string& path, std::string& error);
// Removes a temporary file that will not be committed.
void discard_temp(const std::string& temp);

}  // namespace mevra
