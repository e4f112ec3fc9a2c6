#pragma once

#include <QString>
#include <cstdint>

#include "device/platform.h"

class QFile;

namespace file {

// Result of Save when the file cannot be opened or written.
inline constexpr uint32_t kSaveFailed = 0xFFFFFFFF;

// Reads len bytes at offset past every cache; the bytes delivered, fewer than
// len when the file fell short. Transfers at least 1024 bytes.
// busy, when given, tells whether another program held the file's lock.
uint32_t NoCacheLoad(const char* path, uint8_t* dest, uint32_t len, uint32_t offset,
                     bool* busy = nullptr);

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

// A user's output file, written beside its name and given that name only
// once complete: a failed or interrupted write leaves no partial file and an
// existing one untouched.
class OutputFile {
public:
    // replace: an existing file of that name may be replaced. Without it the
    // name is never taken from a file that appeared while this one was written:
    // the new file is kept beside it under a name that says so.
    OutputFile(const QString& path, bool replace);
    bool open();
    bool write(const uint8_t* data, size_t len);
    // Replaces bytes already written (a dump healed after it was streamed).
    bool write_at(uint64_t offset, const uint8_t* data, size_t len);

    // Of the files the name may hold, only this one may be replaced: the file
    // that was there when the user agreed (none: nothing is replaced).
    void replace_only(const platform::FileIdentity& agreed) {
        m_agreed = agreed;
        m_checkAgreed = true;
    }
    // The file takes another name, which it never takes from an existing file.
    void retarget(const QString& path) {
        m_path = path;
        m_replace = false;
    }

    enum class Outcome { Written, KeptAside, Failed };
    Outcome commit();
    // Where a KeptAside file went, and the reason of the last failure.
    const QString& keptAs() const { return m_keptAs; }
    const QString& errorString() const { return m_error; }

private:
    QString m_path;
    bool m_replace;
    platform::FileIdentity m_agreed;
    bool m_checkAgreed = false;
    platform::NewFile m_file;
    QString m_keptAs;
    QString m_error;
};

// path with mark before its extension: "out (unstable).gb".
QString marked_name(const QString& path, const QString& mark);
// The name a file kept beside path takes: "out (new).gb", "out (new 2).gb" ...
QString kept_aside_name(const QString& path, int n);

// Writes a user's file as OutputFile does. Empty string on success, else the
// reason; a file kept aside is named in the reason.
QString SaveAtomic(const QString& path, const uint8_t* src, uint32_t len, bool replace = true);

QFile* open_read(const char* path);
// Bytes read; 0 on an error as at the end.
uint32_t Read(QFile* handle, uint8_t* dest, uint32_t len);
void Close(QFile* handle);  // closes and releases the handle

}  // namespace file
