#include "platform/file_io.h"

#include "platform/pending_temp_files.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
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

// Six letters for a temporary name, different on every call.
std::string random_letters() {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<uint64_t> calls{0};
    uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits))
        bits = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
               (static_cast<uint64_t>(::getpid()) << 32) ^ (calls++ * 0x9E3779B97F4A7C15ull);
    std::string out;
    for (int i = 0; i < 6; ++i, bits /= 62)
        out += letters[bits % 62];
    return out;
}

// Creates a new hidden file beside `path` (same folder, so that a rename can
// replace the target); its name goes to `temp`. The open descriptor, or -1
// with the reason. The name is recorded as pending before the file exists,
// so a stop signal at any moment finds it (unlinking a name not yet made
// does no harm).
int open_temp_beside(const std::string& path, std::string& temp, std::string& error) {
    namespace fs = std::filesystem;
    fs::path target(path);
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Appended piece by piece: GCC 12 at -O3 misreads chained string '+' (-Wrestrict).
        std::string name = ".";
        name += target.filename().string();
        name += ".mevra-";
        name += random_letters();
        temp = (folder / name).string();
        // A name already taken is never recorded: a stop must not remove
        // somebody else's file.
        if (::access(temp.c_str(), F_OK) == 0) continue;
        remember_temp_file(temp);
        const int fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) return fd;
        const int err = errno;
        forget_temp_file(temp);
        if (err != EEXIST) {
            error = errno_text(err);
            return -1;
        }
    }
    error = errno_text(EEXIST);
    return -1;
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
