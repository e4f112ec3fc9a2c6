#include "device/file.h"

#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "device/platform.h"
#include "device/protocol.h"

namespace file {
namespace {

constexpr int kMaxKeptAside = 100;  // names tried beside a file that appeared

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

uint32_t NoCacheLoad(const char* path, uint8_t* dest, uint32_t len, uint32_t offset, bool* busy) {
    if (!dest || !path) return 0;
    platform::UncachedFile f;
    platform::open_uncached(path, f);
    if (busy) *busy = f.busy;
    return ReadUncached(f, dest, len, offset);
}

uint32_t ReadUncached(const platform::UncachedFile& f, uint8_t* dest, uint32_t len,
                      uint32_t offset) {
    if (!dest || f.fd < 0) return 0;
    if (len >= proto::kMinTransfer) return uint32_t(read_at(f, dest, len, offset));
    uint8_t local[proto::kMinTransfer];
    const size_t got = read_at(f, local, sizeof local, offset);
    // A short transfer reports what came, as a long one does: the caller
    // sees it fall short of len.
    const size_t copied = std::min<size_t>(got, len);
    std::memcpy(dest, local, copied);
    return uint32_t(copied);
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

OutputFile::OutputFile(const QString& path, bool replace) : m_path(path), m_replace(replace) {}

bool OutputFile::open() {
    std::string why;
    if (m_file.create(QFile::encodeName(m_path).toStdString(), &why)) return true;
    m_error = QString::fromLocal8Bit(why.c_str());
    return false;
}

bool OutputFile::write(const uint8_t* data, size_t len) {
    std::string why;
    if (m_file.write(data, len, &why)) return true;
    m_error = QString::fromLocal8Bit(why.c_str());
    return false;
}

bool OutputFile::write_at(uint64_t offset, const uint8_t* data, size_t len) {
    std::string why;
    if (m_file.write_at(offset, data, len, &why)) return true;
    m_error = QString::fromLocal8Bit(why.c_str());
    return false;
}

QString marked_name(const QString& path, const QString& mark) {
    const int slash = path.lastIndexOf('/');
    const int dot = path.lastIndexOf('.');
    const int cut = dot > slash + 1 ? dot : path.size();
    const QString folder = path.left(slash + 1), extension = path.mid(cut);
    QString stem = path.mid(slash + 1, cut - slash - 1);
    // The stem gives way to the mark where the name would grow too long.
    while (stem.size() > 1 &&
           QFile::encodeName(stem + mark + extension).size() > int(platform::kNameMax)) {
        stem.chop(1);
        if (!stem.isEmpty() && stem.at(stem.size() - 1).isHighSurrogate()) stem.chop(1);
    }
    return folder + stem + mark + extension;
}

QString kept_aside_name(const QString& path, int n) {
    return marked_name(path, n < 2 ? QStringLiteral(" (new)") : QStringLiteral(" (new %1)").arg(n));
}

OutputFile::Outcome OutputFile::commit() {
    using Commit = platform::NewFile::Commit;
    std::string why;
    const std::string path = QFile::encodeName(m_path).toStdString();
    // A file that appeared since the user agreed is not the one agreed to.
    const bool replace =
        m_replace &&
        (!m_checkAgreed || (m_agreed.exists && platform::file_identity(path) == m_agreed));
    Commit done = m_file.commit(path, replace, &why);
    // The name is taken: the file keeps to a free name beside it.
    for (int n = 1; done == Commit::Exists && n < kMaxKeptAside; ++n) {
        m_keptAs = kept_aside_name(m_path, n);
        done = m_file.commit(QFile::encodeName(m_keptAs).toStdString(), false, &why);
    }
    if (done == Commit::Done) return m_keptAs.isEmpty() ? Outcome::Written : Outcome::KeptAside;
    m_keptAs.clear();
    m_error = done == Commit::Exists ? QStringLiteral("no free name beside the file")
                                     : QString::fromLocal8Bit(why.c_str());
    return Outcome::Failed;
}

QString SaveAtomic(const QString& path, const uint8_t* src, uint32_t len, bool replace) {
    OutputFile f(path, replace);
    if (!f.open() || !f.write(src, len)) return f.errorString();
    switch (f.commit()) {
        case OutputFile::Outcome::Written:
            return QString();
        case OutputFile::Outcome::KeptAside:
            return QStringLiteral("%1 appeared meanwhile and was not replaced; the new file is %2")
                .arg(path, f.keptAs());
        case OutputFile::Outcome::Failed:
            break;
    }
    return f.errorString();
}

QFile* open_read(const char* path) {
    auto* f = new QFile(QFile::decodeName(path));
    if (!f->open(QIODevice::ReadOnly)) {
        delete f;
        return nullptr;
    }
    return f;
}

uint32_t Read(QFile* handle, uint8_t* dest, uint32_t len) {
    const qint64 got = handle->read(reinterpret_cast<char*>(dest), len);
    return got < 0 ? 0 : uint32_t(got);
}

void Close(QFile* handle) {
    handle->close();
    delete handle;
}

}  // namespace file
