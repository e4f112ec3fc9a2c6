#include "jobs/zip_member.h"

#include <zlib.h>

#include <cstdint>

namespace {

// The layouts of the zip format's records (all little-endian).
constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kEndSignature = 0x06054B50;
constexpr int kEndSize = 22;
constexpr int kMaxComment = 0xFFFF;
constexpr int kEndEntries = 10, kEndCentralOffset = 16;
constexpr int kCentralSize = 46;
constexpr int kCentralFlags = 8, kCentralMethod = 10, kCentralCrc = 16, kCentralPacked = 20,
              kCentralUnpacked = 24, kCentralNameLength = 28, kCentralLocalOffset = 42;
constexpr int kLocalSize = 30;
constexpr int kLocalNameLength = 26, kLocalExtraLength = 28;
constexpr uint16_t kEncrypted = 0x0001;
constexpr uint16_t kStored = 0, kDeflated = 8;
constexpr uint32_t kZip64 = 0xFFFFFFFF;
constexpr int kRawDeflate = -15;  // zlib's window bits for deflate without a wrapper

uint32_t le(const QByteArray& b, qint64 at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | uint8_t(b[int(at + i)]);
    return v;
}

bool inside(const QByteArray& b, qint64 at, qint64 size) {
    return at >= 0 && size >= 0 && at + size <= b.size();
}

QByteArray inflate_raw(const char* in, uint32_t packed, uint32_t unpacked, QString* why) {
    QByteArray out(int(unpacked), Qt::Uninitialized);
    z_stream z{};
    if (inflateInit2(&z, kRawDeflate) != Z_OK) {
        *why = QStringLiteral("the decompressor could not start");
        return QByteArray();
    }
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in));
    z.avail_in = packed;
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = unpacked;
    const int result = inflate(&z, Z_FINISH);
    const uLong produced = z.total_out;
    inflateEnd(&z);
    if (result != Z_STREAM_END || produced != unpacked) {
        *why = QStringLiteral("its file does not decompress to the size it gives");
        return QByteArray();
    }
    return out;
}

}  // namespace

bool looks_like_zip(const QByteArray& bytes) {
    return bytes.size() >= 4 && le(bytes, 0, 4) == kLocalSignature;
}

namespace {

// The one file's entry in the archive's central directory.
struct Entry {
    uint16_t flags = 0, method = 0;
    uint32_t crc = 0, packed = 0, unpacked = 0;
    qint64 local = 0;  // where its local record starts
};

// Reads the archive's only entry into *entry and its name into m->name;
// false with m->why set.
bool only_entry(const QByteArray& b, Entry* entry, ZipMember* m) {
    // The end record is the last thing in the archive, before a comment.
    qint64 end = -1;
    for (qint64 at = b.size() - kEndSize; at >= 0 && at >= b.size() - kEndSize - kMaxComment; --at)
        if (le(b, at, 4) == kEndSignature) {
            end = at;
            break;
        }
    if (end < 0) return (m->why = QStringLiteral("not a zip archive (no end record)")), false;
    if (le(b, end + kEndEntries, 2) != 1) {
        m->why = QStringLiteral("the archive holds %1 files, not one DAT")
                     .arg(le(b, end + kEndEntries, 2));
        return false;
    }
    const qint64 central = le(b, end + kEndCentralOffset, 4);
    const uint32_t nameLength =
        inside(b, central, kCentralSize) ? le(b, central + kCentralNameLength, 2) : 0;
    if (!inside(b, central, kCentralSize) || le(b, central, 4) != kCentralSignature ||
        !inside(b, central + kCentralSize, nameLength))
        return (m->why = QStringLiteral("its directory is damaged")), false;
    entry->flags = uint16_t(le(b, central + kCentralFlags, 2));
    entry->method = uint16_t(le(b, central + kCentralMethod, 2));
    entry->crc = le(b, central + kCentralCrc, 4);
    entry->packed = le(b, central + kCentralPacked, 4);
    entry->unpacked = le(b, central + kCentralUnpacked, 4);
    entry->local = le(b, central + kCentralLocalOffset, 4);
    m->name = QString::fromUtf8(b.mid(int(central + kCentralSize), int(nameLength)));
    return true;
}

// Why the entry cannot be read here; empty when it can.
QString unusable(const Entry& e, qint64 maxSize) {
    if (e.flags & kEncrypted) return QStringLiteral("its file is encrypted");
    if (e.method != kStored && e.method != kDeflated)
        return QStringLiteral("its file is compressed by method %1, not stored or deflated")
            .arg(e.method);
    if (e.packed == kZip64 || e.unpacked == kZip64 || e.local == kZip64)
        return QStringLiteral("it is a ZIP64 archive");
    if (qint64(e.unpacked) > maxSize)
        return QStringLiteral("its file holds %1 bytes, more than a DAT may (%2)")
            .arg(e.unpacked)
            .arg(maxSize);
    return QString();
}

}  // namespace

ZipMember read_single_zip_member(const QByteArray& b, qint64 maxSize) {
    ZipMember m;
    Entry e;
    if (!only_entry(b, &e, &m)) return m;
    m.why = unusable(e, maxSize);
    if (!m.why.isEmpty()) return m;
    if (!inside(b, e.local, kLocalSize) || le(b, e.local, 4) != kLocalSignature) {
        m.why = QStringLiteral("its file's record is damaged");
        return m;
    }
    const qint64 data = e.local + kLocalSize + le(b, e.local + kLocalNameLength, 2) +
                        le(b, e.local + kLocalExtraLength, 2);
    if (!inside(b, data, e.packed) || (e.method == kStored && e.packed != e.unpacked)) {
        m.why = QStringLiteral("its file is cut short");
        return m;
    }
    m.data = e.method == kStored ? b.mid(int(data), int(e.packed))
                                 : inflate_raw(b.constData() + data, e.packed, e.unpacked, &m.why);
    if (!m.why.isEmpty()) return m;
    if (uint32_t(crc32(0L, reinterpret_cast<const Bytef*>(m.data.constData()),
                       uInt(m.data.size()))) != e.crc)
        m.why = QStringLiteral("its file does not match its CRC32");
    return m;
}
