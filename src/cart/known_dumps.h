// Known-good dumps of GB, GBC and GBA cartridges (generated from the CC0
// software lists of mame-data), a dump's digest, and looking one up.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gb {

enum DumpSystem : uint8_t { kDumpGb, kDumpGbc, kDumpGba };

struct KnownDump {
    DumpSystem system;
    uint32_t size;
    uint32_t crc32;
    const char* sha1;  // 40 lowercase hex digits
    const char* title;
    const char* year;
    const char* publisher;
    const char* serial;  // product codes, comma-separated; may be empty
};

extern const KnownDump kKnownDumps[];
extern const size_t kKnownDumpCount;

// A list of known dumps: the built-in one, or one a test builds.
struct DumpTable {
    const KnownDump* rows;
    size_t count;
};
DumpTable builtin_dumps();

// Size, CRC32 (zlib) and SHA-1 (Qt, lowercase hex) of a dump, fed in pieces.
struct DumpDigest {
    uint32_t size = 0;
    uint32_t crc32 = 0;
    QByteArray sha1;
};
class DumpHasher {
public:
    DumpHasher();
    ~DumpHasher();
    DumpHasher(const DumpHasher&) = delete;
    DumpHasher& operator=(const DumpHasher&) = delete;
    void add(const uint8_t* data, size_t size);
    DumpDigest result() const;

private:
    struct State;
    State* m_state;
};
DumpDigest digest_of(const uint8_t* data, size_t size);

// The entry whose size, CRC32 and SHA-1 all match, or null.
const KnownDump* find_dump(const DumpTable& table, const DumpDigest& digest);

// The game code a header carries (the GBA code at 0xAC; the CGB code at
// 0x13F when the header has one); empty when there is none.
QString cartridge_code(bool gba, const uint8_t* header);

// The title a header carries, the one form every report, name and record
// uses: up to the first NUL, in the colour cartridge's shorter field (15
// bytes, 11 before a game code), printable ASCII only, without trailing blanks.
QString header_title(bool gba, const uint8_t* header);

// The size of the smallest known dump of GBA cartridges, or of GB and GBC ones:
// a file smaller than that is no whole dump.
uint32_t smallest_dump(const DumpTable& table, bool gba);

// The entries that list a product code whose game code is code (AGB-AWRP-EUR:
// AWRP), and how many there are.
std::vector<const KnownDump*> dumps_of_code(const DumpTable& table, const QString& code);
size_t dumps_with_code(const DumpTable& table, const QString& code);

}  // namespace gb
