#include "device/file.h"

#include <unistd.h>

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "device/platform.h"
#include "device/protocol.h"

namespace file {
namespace {

struct AlignedFree {
    void operator()(uint8_t* p) const { std::free(p); }
};
using AlignedBuffer = std::unique_ptr<uint8_t, AlignedFree>;

AlignedBuffer aligned_buffer(size_t size) {
    void* p = nullptr;
    if (posix_memalign(&p, platform::kDirectAlign, size) != 0) return nullptr;
    return AlignedBuffer(static_cast<uint8_t*>(p));
}

// Reads until len bytes or the end of the file; bytes read.
size_t read_fully(int fd, uint8_t* dest, size_t len, off_t offset) {
    size_t got = 0;
    while (got < len) {
        ssize_t n = pread(fd, dest + got, len - got, offset + off_t(got));
        if (n <= 0) break;
        got += size_t(n);
    }
    return got;
}

bool aligned(uint64_t value) {
    return value % platform::kDirectAlign == 0;
}

// Reads want bytes at offset into dest, honouring direct I/O alignment; bytes delivered.
size_t read_at(const platform::UncachedFile& f, uint8_t* dest, size_t want, uint64_t offset) {
    if (!f.direct) {
        // The device answers each command anew: what an earlier read cached is stale.
        platform::drop_cached(f.fd);
        return read_fully(f.fd, dest, want, off_t(offset));
    }
    if (aligned(offset) && aligned(want) && aligned(uintptr_t(dest)))
        return read_fully(f.fd, dest, want, off_t(offset));
    const uint64_t start = offset - offset % platform::kDirectAlign;
    const uint64_t end = (offset + want + platform::kDirectAlign - 1) / platform::kDirectAlign *
                         platform::kDirectAlign;
    AlignedBuffer bounce = aligned_buffer(size_t(end - start));
    if (!bounce) return 0;
    const size_t got = read_fully(f.fd, bounce.get(), size_t(end - start), off_t(start));
    const size_t skip = size_t(offset - start);
    if (got <= skip) return 0;
    const size_t delivered = std::min(want, got - skip);
    std::memcpy(dest, bounce.get() + skip, delivered);
    return delivered;
}

}  // namespace

uint32_t NoCacheLoad(const char* path, uint8_t* dest, uint32_t len, uint32_t offset) {
    if (!dest || !path) return 0;
    platform::UncachedFile f;
    platform::open_uncached(path, f);
    return ReadUncached(f, dest, len, offset);
}

uint32_t ReadUncached(const platform::UncachedFile& f, uint8_t* dest, uint32_t len,
                      uint32_t offset) {
    if (!dest || f.fd < 0) return 0;
    if (len >= proto::kMinTransfer) return uint32_t(read_at(f, dest, len, offset));
    uint8_t local[proto::kMinTransfer];
    const size_t got = read_at(f, local, sizeof local, offset);
    if (got == 0) return 0;
    // A short transfer still reports len; what did not come reads as zero.
    const size_t copied = std::min<size_t>(got, len);
    std::memcpy(dest, local, copied);
    std::memset(dest + copied, 0, len - copied);
    return len;
}

uint32_t WriteFlushed(int fd, const uint8_t* src, uint32_t len, uint64_t* fileSize) {
    // The board reads the whole file: no tail of a longer command may stay.
    if (*fileSize > len && ftruncate(fd, off_t(len)) != 0) return kSaveFailed;
    *fileSize = len;
    size_t done = 0;
    while (done < len) {
        const ssize_t n = pwrite(fd, src + done, len - done, off_t(done));
        if (n <= 0) return kSaveFailed;
        done += size_t(n);
    }
    // The board acts on the command only once the data has reached it.
    return platform::flush_to_device(fd) ? len : kSaveFailed;
}

uint32_t Save(const char* path, const uint8_t* src, uint32_t len) {
    QFile f(QString::fromUtf8(path));
    if (!f.open(QIODevice::WriteOnly)) return kSaveFailed;
    const qint64 written = f.write(reinterpret_cast<const char*>(src), len);
    // The board acts on the command only once the data has reached it.
    if (!f.flush() || !platform::flush_to_device(f.handle())) return kSaveFailed;
    f.close();
    return uint32_t(written);
}

QString SaveAtomic(const QString& path, const uint8_t* src, uint32_t len) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return f.errorString();
    if (f.write(reinterpret_cast<const char*>(src), len) != qint64(len)) {
        const QString reason = f.errorString();
        f.cancelWriting();
        return reason;
    }
    if (!f.commit()) return f.errorString();
    return QString();
}

QFile* open_read(const char* path) {
    auto* f = new QFile(QString::fromUtf8(path));
    if (!f->open(QIODevice::ReadOnly)) {
        delete f;
        return nullptr;
    }
    return f;
}

int64_t Read(QFile* handle, uint8_t* dest, uint32_t len) {
    return handle->read(reinterpret_cast<char*>(dest), len);
}

void Close(QFile* handle) {
    handle->close();
    delete handle;
}

}  // namespace file
