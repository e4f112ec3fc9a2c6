#include "device/platform.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace platform {

std::vector<std::string> mount_directories() {
    // Tests and the virtual board name the one directory to search.
    if (const char* dir = std::getenv("ZELVO_VOLUMES")) return {dir};
#ifdef __APPLE__
    return {"/Volumes"};
#else
    // Where desktop environments mount removable media for the logged-in user.
    std::string user;
    if (const passwd* pw = getpwuid(geteuid())) user = pw->pw_name;
    if (user.empty()) return {};
    return {"/run/media/" + user, "/media/" + user};
#endif
}

UncachedFile::~UncachedFile() {
    if (fd >= 0) ::close(fd);
}

void open_uncached(const char* path, UncachedFile& file) {
#ifdef __APPLE__
    // Exclusive, non-blocking open; the per-file switch turns the data cache off.
    file.fd = ::open(path, O_RDONLY | O_NONBLOCK | O_EXLOCK | O_ASYNC);
    if (file.fd >= 0) fcntl(file.fd, F_GLOBAL_NOCACHE, 1);
    file.direct = false;
#else
    // O_DIRECT bypasses the page cache; where the file system refuses it, the
    // file's cached pages are dropped before every read instead (drop_cached).
    file.fd = ::open(path, O_RDONLY | O_NONBLOCK | O_DIRECT);
    file.direct = file.fd >= 0;
    if (file.fd < 0) file.fd = ::open(path, O_RDONLY | O_NONBLOCK);
    if (file.fd < 0) return;
    // Linux has no O_EXLOCK: an exclusive advisory lock stands in for it.
    if (flock(file.fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(file.fd);
        file.fd = -1;
    }
#endif
}

void drop_cached(int fd) {
#ifdef __APPLE__
    (void)fd;  // F_GLOBAL_NOCACHE, set at open, keeps the data out of the cache
#else
    posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
#endif
}

bool flush_to_device(int fd) {
    return ::fsync(fd) == 0;
}

namespace {
// Huge pages are 2 MiB on x86-64 and arm64; smaller buffers keep page alignment.
constexpr size_t kHugePage = 2 * 1024 * 1024;
}  // namespace

TransferBuffer::~TransferBuffer() {
    release();
}

void TransferBuffer::release() {
    std::free(m_data);
    m_data = nullptr;
    m_size = 0;
}

bool TransferBuffer::assign(size_t size, uint8_t fill) {
    release();
    const size_t align = size >= kHugePage ? kHugePage : kDirectAlign;
    const size_t rounded = (size + align - 1) / align * align;
    void* p = nullptr;
    if (rounded == 0 || posix_memalign(&p, align, rounded) != 0) return false;
#ifdef MADV_HUGEPAGE
    // Linux only backs a region with huge pages when asked ("madvise" mode).
    if (align == kHugePage) madvise(p, rounded, MADV_HUGEPAGE);
#endif
    m_data = static_cast<uint8_t*>(p);
    m_size = size;
    std::memset(m_data, fill, size);
    return true;
}

bool is_terminal(int fd) {
    // POSIX on Linux and macOS alike.
    return ::isatty(fd) == 1;
}

VolumeLock::~VolumeLock() {
    release();
}

bool VolumeLock::acquire(const std::string& volumePath) {
    release();
    // A lock on the volume's root directory: every process that uses the board
    // takes it, so two programs never interleave their commands.
    m_fd = ::open(volumePath.c_str(), O_RDONLY | O_DIRECTORY);
    if (m_fd < 0) return false;
    if (flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    return true;
}

void VolumeLock::release() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

}  // namespace platform
