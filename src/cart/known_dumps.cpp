#include "cart/known_dumps.h"

#include <zlib.h>

#include <QCryptographicHash>
#include <QStringList>
#include <algorithm>
#include <cstring>

#include "cart/header.h"

namespace gb {

namespace {

constexpr uint32_t kCgbCodeOffset = 0x13F;
constexpr int kCodeSize = 4;
// zlib takes lengths as unsigned int: feed large dumps in pieces.
constexpr size_t kCrcPiece = size_t(1) << 30;

bool code_character(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

QString code_at(const uint8_t* at) {
    QString code;
    for (int i = 0; i < kCodeSize; ++i) {
        const char c = char(at[i]);
        if (!code_character(c)) return QString();
        code += QLatin1Char(c);
    }
    return code;
}

}  // namespace

DumpTable builtin_dumps() {
    return {kKnownDumps, kKnownDumpCount};
}

struct DumpHasher::State {
    uLong crc = crc32(0L, Z_NULL, 0);
    QCryptographicHash sha1{QCryptographicHash::Sha1};
    uint64_t size = 0;
};

DumpHasher::DumpHasher() : m_state(new State) {}

DumpHasher::~DumpHasher() {
    delete m_state;
}

void DumpHasher::add(const uint8_t* data, size_t size) {
    m_state->size += size;
    m_state->sha1.addData(reinterpret_cast<const char*>(data), int(size));
    for (size_t at = 0; at < size; at += kCrcPiece) {
        const size_t n = std::min(kCrcPiece, size - at);
        m_state->crc = crc32(m_state->crc, data + at, uInt(n));
    }
}

DumpDigest DumpHasher::result() const {
    DumpDigest d;
    d.size = uint32_t(m_state->size);
    d.crc32 = uint32_t(m_state->crc);
    d.sha1 = m_state->sha1.result().toHex();
    return d;
}

DumpDigest digest_of(const uint8_t* data, size_t size) {
    DumpHasher hasher;
    hasher.add(data, size);
    return hasher.result();
}

const KnownDump* find_dump(const DumpTable& table, const DumpDigest& digest) {
    for (size_t i = 0; i < table.count; ++i) {
        const KnownDump& row = table.rows[i];
        if (row.size == digest.size && row.crc32 == digest.crc32 && digest.sha1 == row.sha1)
            return &row;
    }
    return nullptr;
}

QString cartridge_code(bool gba, const uint8_t* header) {
    if (gba) return code_at(header + kGbaCodeOffset);
    if (!(header[kGbCgbFlagOffset] & kGbCgbFlag)) return QString();
    return code_at(header + kCgbCodeOffset);
}

QString header_title(bool gba, const uint8_t* header) {
    constexpr uint32_t kCgbTitle = 15;    // the colour flag takes the last byte
    constexpr uint32_t kCodedTitle = 11;  // and a game code the four before it
    constexpr char kFirstPrintable = ' ', kLastPrintable = '~';
    uint32_t size = gba ? kGbaTitleSize : kGbTitleSize;
    if (!gba && header[kGbCgbFlagOffset] & kGbCgbFlag)
        size = cartridge_code(false, header).isEmpty() ? kCgbTitle : kCodedTitle;
    const uint8_t* title = header + (gba ? kGbaTitleOffset : kGbTitleOffset);
    QString out;
    for (uint32_t i = 0; i < size && title[i]; ++i)
        if (title[i] >= kFirstPrintable && title[i] <= kLastPrintable)
            out += QLatin1Char(char(title[i]));
    while (out.endsWith(' ')) out.chop(1);
    return out;
}

uint32_t smallest_dump(const DumpTable& table, bool gba) {
    uint32_t smallest = 0;
    for (size_t i = 0; i < table.count; ++i) {
        const KnownDump& row = table.rows[i];
        if ((row.system == kDumpGba) == gba && (smallest == 0 || row.size < smallest))
            smallest = row.size;
    }
    return smallest;
}

std::vector<const KnownDump*> dumps_of_code(const DumpTable& table, const QString& code) {
    std::vector<const KnownDump*> out;
    if (code.isEmpty()) return out;
    const QByteArray needle = '-' + code.toLatin1();
    for (size_t i = 0; i < table.count; ++i) {
        if (!std::strstr(table.rows[i].serial, needle.constData())) continue;
        for (const QString& product : QString::fromUtf8(table.rows[i].serial).split(',')) {
            const QStringList parts = product.trimmed().split('-');
            if (parts.size() > 1 && parts[1] == code) {
                out.push_back(&table.rows[i]);
                break;
            }
        }
    }
    return out;
}

size_t dumps_with_code(const DumpTable& table, const QString& code) {
    return dumps_of_code(table, code).size();
}

}  // namespace gb
