#include "platform/file_io.h"

#include "platform/pending_temp_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace mevra {
namespace {

std::string errno_text(int err) {
    return std::strerror(err);
}

// Keeps the permissions of the file being replaced, or uses the usual
// umask-governed mode for a new one.
mode_t target_mode(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Creates a new hidden file beside `path` (same folder, so that a rename can
// replace the target); its name goes to `temp`. The open descriptor, or -1
// with the reason.
int open_temp_beside(const std::string& path, std::string& temp, std::string& error) {
    namespace fs = std::filesystem;
    fs::path target(path);
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    // Appended piece by piece: GCC 12 at -O3 misreads chained string '+' (-Wrestrict).
    std::string name = ".";
    name += target.filename().string();
    name += ".mevra-XXXXXX";
    temp = (folder / name).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        error = errno_text(errno);
    else
        remember_temp_file(temp);
    return fd;
}

// Renames `temp` over `path`; on failure `temp` is removed.
bool rename_temp(const std::string& temp, const std::string& path, std::string& error) {
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        error = errno_text(errno);
        discard_temp(temp);
        return false;
    }
    forget_temp_file(temp);
    return true;
}

}  // namespace

bool read_whole_file(const std::string& path, std::vector<uint8_t>& out, std::string& error) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno_text(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? "is a folder" : "not a regular file";
        ::close(fd);
        return false;
    }
    out.clear();
    out.reserve(static_cast<size_t>(st.st_size));
    uint8_t chunk[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno_text(errno);
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        out.insert(out.end(), chunk, chunk + n);
    }
    ::close(fd);
    return true;
}

bool write_file_atomic(const std::string& path, std::span<const uint8_t> bytes,
                       std::string& error) {
    std::string tmpl;
    const int fd = open_temp_beside(path, tmpl, error);
    if (fd < 0) return false;
    auto fail = [&](int err) {
        error = errno_text(err);
        ::close(fd);
        discard_temp(tmpl);
        return false;
    };
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        done += static_cast<size_t>(n);
    }
    if (::fchmod(fd, target_mode(path)) != 0) return fail(errno);
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        error = errno_text(errno);
        discard_temp(tmpl);
        return false;
    }
    return rename_temp(tmpl, path, error);
}

bool create_temp_beside(const std::string& path, std::string& temp, std::string& error) {
    std::string name;
    const int fd = open_temp_beside(path, name, error);
    if (fd < 0) return false;
    ::close(fd);
    temp = name;
    return true;
}

bool commit_temp(const std::string& temp, const std::string& path, std::string& error) {
    int fd = ::open(temp.c_str(), O_RDWR | O_CLOEXEC);
    bool ok = fd >= 0 && ::fchmod(fd, target_mode(path)) == 0 && ::fsync(fd) == 0;
    if (!ok) error = errno_text(errno);
    if (fd >= 0 && ::close(fd) != 0 && ok) {
        error = errno_text(errno);
        ok = false;
    }
    if (!ok) {
        discard_temp(temp);
        return false;
    }
    return rename_temp(temp, path, error);
}

void discard_temp(const std::string& temp) {
    ::unlink(temp.c_str());
    forget_temp_file(temp);
}

}  // namespace mevra
