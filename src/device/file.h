#pragma once

#include <QString>
#include <cstdint>

class QFile;

namespace platform {
struct UncachedFile;
}

namespace file {

// Result of Save when the file cannot be opened or written.
inline constexpr uint32_t kSaveFailed = 0xFFFFFFFF;

// Reads len bytes at offset past every cache. Transfers at least 1024 bytes;
// a request below that reports len when anything at all came back.
uint32_t NoCacheLoad(const char* path, uint8_t* dest, uint32_t len, uint32_t offset);

// NoCacheLoad on a file already opened with platform::open_uncached.
uint32_t ReadUncached(const platform::UncachedFile& f, uint8_t* dest, uint32_t len,
                      uint32_t offset);

// Makes an open file hold exactly len bytes from src and flushes them to the
// device; fileSize is the file's size before and after. Bytes written, or
// kSaveFailed.
uint32_t WriteFlushed(int fd, const uint8_t* src, uint32_t len, uint64_t* fileSize);

// Replaces the file's contents with len bytes in one write and flushes them to
// the device. Bytes written, or kSaveFailed.
uint32_t Save(const char* path, const uint8_t* src, uint32_t len);

// Writes a user's file through a temporary file renamed over the target, so a
// failed write leaves any existing file untouched. Empty string on success,
// else the reason.
QString SaveAtomic(const QString& path, const uint8_t* src, uint32_t len);

QFile* open_read(const char* path);
int64_t Read(QFile* handle, uint8_t* dest, uint32_t len);
void Close(QFile* handle);  // closes and releases the handle

}  // namespace file
