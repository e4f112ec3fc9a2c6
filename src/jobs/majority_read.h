// Healing a dump by majority: the chunks in which two reads of the cartridge
// differ are read again until every byte has a value most reads agree on; the
// addresses that read differently name the data lines that flicker. And the
// data lines a whole dump shows stuck.
#pragma once

#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "script/job_context.h"

// A re-read covers whole chunks of this many bytes.
inline constexpr size_t kHealChunk = kRereadChunk;

// The chunks (by index) in which a and b differ.
std::vector<size_t> differing_chunks(const uint8_t* a, const uint8_t* b, size_t size);

class MajorityRead {
public:
    // The dump of size bytes whose chunks are to be healed; gba: a 16-bit data
    // bus (odd addresses on D8-D15).
    MajorityRead(size_t size, bool gba, std::vector<size_t> chunks);

    // Takes one read of the chunks still open (data: a whole dump's buffer,
    // those chunks filled).
    void add(const uint8_t* data);
    // The chunks without a majority at every byte yet.
    const std::vector<size_t>& open() const { return m_open; }
    // Writes every settled chunk's majority into dump.
    void settle(uint8_t* dump) const;

    // The addresses whose reads disagreed, in order.
    std::vector<size_t> unstable() const;
    // For each data line (D0-D7, or D0-D15 on GBA), at how many addresses it
    // read differently.
    std::vector<size_t> line_flips() const;

private:
    struct Chunk {
        size_t index;
        std::vector<std::vector<uint8_t>> reads;
        std::vector<uint8_t> majority;
        bool settled = false;
    };
    bool vote(Chunk& chunk) const;

    size_t m_size;
    bool m_gba;
    std::vector<Chunk> m_chunks;
    std::vector<size_t> m_open;
};

// The log lines of a heal: the unstable addresses (at most ten, then a
// count) and each flickering data line.
QStringList heal_lines(const MajorityRead& heal);

// A data line that reads the same level (0 or 1) at every address of a dump.
struct StuckLine {
    int line;
    int level;
};
std::vector<StuckLine> stuck_lines(const uint8_t* dump, size_t size, bool gba);
QString stuck_line_text(const std::vector<StuckLine>& lines);
