#pragma once
// Pipes: standard input becomes a file the loader can read like any other, and
// a saved file is copied to standard output. Both go through a private scratch
// folder that is removed again.
#include <string>

namespace mevra::cli {

class scratch_folder {
  public:
    scratch_folder() = default;
    ~scratch_folder();
    scratch_folder(const scratch_folder&) = delete;
    scratch_folder& operator=(const scratch_folder&) = delete;

    // Creates the folder on first use; empty on failure with the reason in `error`.
    std::string file(const std::string& name, std::string& error);

  private:
    std::string path_;
};

bool read_stdin_to(const std::string& path, std::string& error);
bool copy_file_to_stdout(const std::string& path, std::string& error);

}  // namespace mevra::cli
