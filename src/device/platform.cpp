#include "device/platform.h"

#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QTextCodec>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "device/name_codec.h"

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
    file.fd = ::open(path, O_RDONLY | O_NONBLOCK | O_EXLOCK | O_ASYNC | O_CLOEXEC);
    if (file.fd >= 0) fcntl(file.fd, F_GLOBAL_NOCACHE, 1);
    file.direct = false;
#else
    // O_DIRECT bypasses the page cache; where the file system refuses it, the
    // file's cached pages are dropped before every read instead (drop_cached).
    file.fd = ::open(path, O_RDONLY | O_NONBLOCK | O_DIRECT | O_CLOEXEC);
    file.direct = file.fd >= 0;
    if (file.fd < 0) file.fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file.fd < 0) return;
    // Linux has no O_EXLOCK: an exclusive advisory lock stands in for it.
    if (flock(file.fd, LOCK_EX | LOCK_NB) != 0) {
        file.busy = errno == EWOULDBLOCK;
        ::close(file.fd);
        file.fd = -1;
    }
#endif
}

bool locked_by_another(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const bool busy = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);  // gives back the lock it took
    return busy;
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

TransferBuffer::~TransferBuffer() {
    release();
}

void TransferBuffer::release() {
    std::free(m_data);
    m_data = nullptr;
    m_size = 0;
}

bool TransferBuffer::assign(size_t size, uint8_t fill) {
    if (!allocate(size)) return false;
    std::memset(m_data, fill, size);
    return true;
}

bool TransferBuffer::reserve(size_t size) {
    return allocate(size);
}

bool TransferBuffer::allocate(size_t size) {
    // A heal reads into the same buffer round after round: its pages stay.
    if (m_data && m_size == size) return true;
    release();
    const size_t rounded = (size + kDirectAlign - 1) / kDirectAlign * kDirectAlign;
    void* p = nullptr;
    if (rounded == 0 || posix_memalign(&p, kDirectAlign, rounded) != 0) return false;
#ifdef MADV_POPULATE_WRITE
    // Faulting tens of MiB in one page at a time costs tens of milliseconds;
    // the kernel does it in one call for a tenth of that. Where it cannot, the
    // first writes fault the pages in.
    madvise(p, rounded, MADV_POPULATE_WRITE);
#endif
    m_data = static_cast<uint8_t*>(p);
    m_size = size;
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
    m_fd = ::open(volumePath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

bool read_only_volume(const std::string& path) {
    // POSIX: the mount's flags carry its read-only state.
    struct statvfs vfs;
    return statvfs(path.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0;
}

size_t max_path_length() {
    // Linux and macOS refuse longer paths with ENAMETOOLONG.
    return PATH_MAX;
}

size_t max_name_length() {
    return NAME_MAX;
}

std::string error_text(int error) {
    return std::strerror(error);
}

namespace {

std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The umask can only be read by setting it, which for a moment changes it for
// every thread: it is read once, at start-up, before any thread is running.
const mode_t g_startUmask = [] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}();

// A new file gets the mode of the file it replaces, else the usual one.
mode_t new_file_mode(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
    return 0666 & ~g_startUmask;
}

// A name just given to a file lasts a power cut only once its folder is on
// the disk too; a folder that cannot be synced (some file systems) is left.
void sync_folder(const std::string& path) {
    const int dir = ::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

bool failed(std::string* why) {
    *why = error_text(errno);
    return false;
}

}  // namespace

NewFile::~NewFile() {
    discard();
}

void NewFile::discard() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (!m_temp.empty() && !m_committed) ::unlink(m_temp.c_str());
    m_temp.clear();
    m_committed = false;
}

bool NewFile::create(const std::string& path, std::string* why) {
    discard();
    const mode_t mode = new_file_mode(path);
#if defined(__linux__) && defined(O_TMPFILE)
    // Linux: a file without a name until it is linked in, so nothing is left
    // behind whatever ends the program. Linking it in goes through /proc.
    if (::access("/proc/self/fd", X_OK) == 0) {
        m_fd = ::open(folder_of(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (m_fd >= 0) return true;
    }
#endif
    // Where there is no such file (FUSE, vfat, NFS, macOS): a temporary name
    // beside the target, removed when the write does not complete.
    std::string temp = path + ".XXXXXX";
    m_fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (m_fd < 0) return failed(why);
    ::fchmod(m_fd, mode);
    m_temp = temp;
    return true;
}

bool NewFile::write(const uint8_t* data, size_t len, std::string* why) {
    while (len > 0) {
        const ssize_t n = ::write(m_fd, data, len);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? failed(why) : (*why = error_text(EIO), false);
        data += n;
        len -= size_t(n);
        m_written += uint64_t(n);
    }
    start_writeback();
    return true;
}

void NewFile::start_writeback() {
    // The data goes to the device while the transfer goes on, so that the
    // flush before the file takes its name has little left to wait for.
    if (m_written - m_flushing < kWritebackStep) return;
#ifdef SYNC_FILE_RANGE_WRITE
    ::sync_file_range(m_fd, off_t(m_flushing), off_t(m_written - m_flushing),
                      SYNC_FILE_RANGE_WRITE);
#endif
    m_flushing = m_written;
}

bool NewFile::write_at(uint64_t offset, const uint8_t* data, size_t len, std::string* why) {
    while (len > 0) {
        const ssize_t n = ::pwrite(m_fd, data, len, off_t(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? failed(why) : (*why = error_text(EIO), false);
        data += n;
        offset += uint64_t(n);
        len -= size_t(n);
    }
    return true;
}

NewFile::Commit NewFile::commit(const std::string& path, bool replace, std::string* why) {
    if (m_fd < 0) {
        *why = error_text(EBADF);
        return Commit::Failed;
    }
    if (::fsync(m_fd) != 0) return failed(why), Commit::Failed;
    struct stat st;
    const bool exists = ::lstat(path.c_str(), &st) == 0;
    if (exists && (!replace || !S_ISREG(st.st_mode))) return Commit::Exists;
    if (m_temp.empty()) {
        // An unnamed file: a link never replaces, so it is linked in directly,
        // or under a temporary name that then replaces the target.
        const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
        std::string target = path;
        for (int n = 0; replace; ++n) {
            target = path + ".zelvo-" + std::to_string(::getpid()) + "-" + std::to_string(n);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0)
                break;
            if (errno != EEXIST) return failed(why), Commit::Failed;
        }
        if (!replace) {
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0)
                return errno == EEXIST ? Commit::Exists : (failed(why), Commit::Failed);
        } else {
            m_temp = target;
        }
    }
    if (!m_temp.empty() && !replace) {
#ifdef __linux__
        // Linux renames without replacing where the file system supports it.
        if (::renameat2(AT_FDCWD, m_temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
            m_temp.clear();
        } else if (errno == EEXIST) {
            return Commit::Exists;
        } else if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
            return failed(why), Commit::Failed;
        }
#endif
        // Elsewhere a hard link never replaces either; without hard links
        // (vfat) the name is checked just before the rename.
        if (!m_temp.empty() && ::link(m_temp.c_str(), path.c_str()) == 0) {
            ::unlink(m_temp.c_str());
            m_temp.clear();
        } else if (!m_temp.empty() && (errno == EEXIST || ::lstat(path.c_str(), &st) == 0)) {
            return Commit::Exists;
        }
    }
    if (!m_temp.empty() && ::rename(m_temp.c_str(), path.c_str()) != 0)
        return failed(why), Commit::Failed;
    sync_folder(path);
    m_temp.clear();
    m_committed = true;
    ::close(m_fd);
    m_fd = -1;
    return Commit::Done;
}

bool current_folder_exists() {
    char* here = ::getcwd(nullptr, 0);
    struct stat st;
    const bool exists = here && ::stat(here, &st) == 0 && S_ISDIR(st.st_mode);
    std::free(here);
    return exists;
}

FileIdentity file_identity(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return {};
#ifdef __APPLE__
    return {true, uint64_t(st.st_dev), uint64_t(st.st_ino), int64_t(st.st_ctimespec.tv_sec),
            int64_t(st.st_ctimespec.tv_nsec)};
#else
    return {true, uint64_t(st.st_dev), uint64_t(st.st_ino), int64_t(st.st_ctim.tv_sec),
            int64_t(st.st_ctim.tv_nsec)};
#endif
}

void keep_file_name_bytes() {
    // POSIX file names are bytes, and Qt turns them into text through the
    // locale's encoding. Where that is UTF-8 (Linux and macOS today), it is
    // replaced by the same encoding that keeps every byte; Qt owns the codec.
    constexpr int kUtf8Mib = 106;
    if (QTextCodec::codecForLocale()->mibEnum() == kUtf8Mib)
        QTextCodec::setCodecForLocale(new ByteKeepingUtf8);
}

}  // namespace platform
