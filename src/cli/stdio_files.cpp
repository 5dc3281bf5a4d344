#include "cli/stdio_files.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/file_io.h"

namespace mevra::cli {

namespace fs = std::filesystem;

scratch_folder::~scratch_folder() {
    if (path_.empty()) return;
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string scratch_folder::file(const std::string& name, std::string& error) {
    if (path_.empty()) {
        std::error_code ec;
        std::string tmpl = (fs::temp_directory_path(ec) / "mevra-cli-XXXXXX").string();
        if (ec || !::mkdtemp(tmpl.data())) {
            error = ec ? ec.message() : std::strerror(errno);
            return {};
        }
        path_ = tmpl;
    }
    return path_ + "/" + name;
}

bool read_stdin_to(const std::string& path, std::string& error) {
    std::vector<uint8_t> bytes;
    uint8_t chunk[1 << 16];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    if (std::ferror(stdin)) {
        error = "standard input could not be read";
        return false;
    }
    return write_file_atomic(path, bytes, error);
}

bool copy_file_to_stdout(const std::string& path, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!read_whole_file(path, bytes, error)) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
        std::fflush(stdout) != 0) {
        error = "standard output could not be written";
        return false;
    }
    return true;
}

}  // namespace mevra::cli
