#pragma once
// The batch list file: one path per line in list order, UTF-8 without a
// byte-order mark, each line ended by CR LF. Reading takes CR LF, LF or a lone
// CR, keeps empty lines, and ignores a byte-order mark if an editor added one.
#include <string>
#include <vector>

namespace mevra {

// batch.lst in the settings folder.
std::string batch_list_path();

// Replaces `lines` with the file's lines. 0 when read; -1 when the file does
// not exist or cannot be read (`lines` is then empty and `error`, if given,
// says why).
int load_batch_list(const std::string& path, std::vector<std::string>& lines,
                    std::string* error = nullptr);
int load_batch_list(std::vector<std::string>& lines);

// Writes the lines, replacing the file through the atomic writer, or deletes
// the file when the list is empty. 0 when done; -1 when the file could not be
// written or deleted (reported through the ui port; an existing file is kept).
int save_batch_list(const std::string& path, const std::vector<std::string>& lines);
int save_batch_list(const std::vector<std::string>& lines);

// The file's bytes for a list, and a list from bytes (both without any file).
std::string batch_list_text(const std::vector<std::string>& lines);
std::vector<std::string> batch_list_lines(const std::string& text);

}  // namespace mevra
