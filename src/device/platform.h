// Everything that differs between the platforms the program runs on: where
// removable volumes are mounted, how a device file is read past the cache, and
// how a volume is held exclusively.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace platform {

// Directories whose entries are candidate volumes, in the order they are searched.
std::vector<std::string> mount_directories();

// An open device file whose reads reach the device. fd < 0 when the open failed
// (a file held by another reader counts as a failed open).
struct UncachedFile {
    int fd = -1;
    bool direct = false;  // reads need aligned offsets, lengths and memory
    bool busy = false;    // another program holds the file's lock
    ~UncachedFile();
};
void open_uncached(const char* path, UncachedFile& file);

// Whether another program holds the lock of the file at path.
bool locked_by_another(const std::string& path);

// Drops what the system cached of a file opened without direct I/O, so that
// the next read reaches the device.
void drop_cached(int fd);

// Alignment that direct reads need for offset, length and memory.
inline constexpr uint32_t kDirectAlign = 4096;

// Pushes written data of fd to the device; false when the device refused it.
bool flush_to_device(int fd);

// Memory for a whole transfer: aligned for direct reads, so the device's data
// lands in place without a bounce copy, and backed by huge pages where the
// system offers them, so that touching it costs few page faults.
class TransferBuffer {
public:
    TransferBuffer() = default;
    ~TransferBuffer();
    TransferBuffer(const TransferBuffer&) = delete;
    TransferBuffer& operator=(const TransferBuffer&) = delete;
    // size bytes of fill; false when the memory cannot be had.
    bool assign(size_t size, uint8_t fill);
    // size bytes for a transfer that writes every one of them before any is
    // read: their contents until then are unspecified.
    bool reserve(size_t size);
    uint8_t* data() const { return m_data; }
    size_t size() const { return m_size; }

private:
    bool allocate(size_t size);
    void release();
    uint8_t* m_data = nullptr;
    size_t m_size = 0;
};

// Whether a stream descriptor is an interactive terminal (progress bars go there).
bool is_terminal(int fd);

// Holds a volume exclusively while it lives; a second holder is refused.
class VolumeLock {
public:
    VolumeLock() = default;
    ~VolumeLock();
    VolumeLock(const VolumeLock&) = delete;
    VolumeLock& operator=(const VolumeLock&) = delete;
    bool acquire(const std::string& volumePath);
    void release();
    bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// The longest file name (one path component) in bytes.
inline constexpr uint32_t kNameMax = 255;

// Whether the process's current folder still exists (it may have been
// deleted while the process ran in it).
bool current_folder_exists();

// Which file a path names (without following a link): a file replaced by
// another under the same name is another file, even where the new one takes
// the old one's inode number (its change time tells them apart).
struct FileIdentity {
    bool exists = false;
    uint64_t device = 0, inode = 0;
    int64_t changed = 0, changedNs = 0;
    bool operator==(const FileIdentity& o) const {
        return exists == o.exists && device == o.device && inode == o.inode &&
               changed == o.changed && changedNs == o.changedNs;
    }
};
FileIdentity file_identity(const std::string& path);

// Whether the file system holding path is mounted read-only.
bool read_only_volume(const std::string& path);

// Longest path and file name the system takes, in bytes.
size_t max_path_length();
size_t max_name_length();

// The text of an error number, as the system words it.
std::string error_text(int error);

// A new file written under a temporary identity beside its final name, which
// it takes only once complete: an interrupted write never leaves a partial file
// under that name, and the temporary one goes when the object does.
class NewFile {
public:
    NewFile() = default;
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Creates the file in the folder of path; false with the reason.
    bool create(const std::string& path, std::string* why);
    // Writes all len bytes; false with the reason.
    bool write(const uint8_t* data, size_t len, std::string* why);
    // Writes over bytes already written, at offset.
    bool write_at(uint64_t offset, const uint8_t* data, size_t len, std::string* why);

    enum class Commit { Done, Exists, Failed };
    // Gives the file the name path. Without replace an existing file (or one
    // that appeared meanwhile) is never replaced: Exists, and the file stays
    // uncommitted. Only a regular file is ever replaced.
    Commit commit(const std::string& path, bool replace, std::string* why);

private:
    void discard();
    // Starts writing what was written since the last start to the device.
    void start_writeback();
    static constexpr uint64_t kWritebackStep = 1 << 20;
    int m_fd = -1;
    uint64_t m_written = 0;   // bytes written in order
    uint64_t m_flushing = 0;  // of those, the bytes sent on their way to the device
    std::string m_temp;       // the temporary name; empty for a file without a name
    bool m_committed = false;
};

// Keeps file names the bytes they are: the process's local 8-bit encoding
// becomes UTF-8 in which every byte that is not valid UTF-8 travels unchanged
// (as U+DC80..U+DCFF), so that a name from the command line or a folder reaches
// the file system as it came. Call before the application object exists.
void keep_file_name_bytes();

}  // namespace platform
