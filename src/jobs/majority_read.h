// Healing a dump by a sequential vote: the chunks in which two reads of the
// cartridge differ are read again until, at every byte that ever read
// differently, one value leads every other by kHealMargin reads; the
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
// The lead in reads that decides an unstable byte. A bit wrong one read in
// three decides wrongly with the chance (1/2)^14 / (1 + (1/2)^14) < 1/16000.
inline constexpr uint32_t kHealMargin = 14;
// Reads of the open chunks beyond the first two, by default: a lead of 14 at
// one flip in three takes 42 reads on average, with a spread of about 18;
// 250 leave such a byte undecided about once in 500,000.
inline constexpr int kDefaultHealReads = 250;

// The chunks (by index) in which a and b differ.
std::vector<size_t> differing_chunks(const uint8_t* a, const uint8_t* b, size_t size);

class MajorityRead {
public:
    // The dump of size bytes whose chunks are to be healed; gba: a 16-bit data
    // bus (odd addresses on D8-D15).
    MajorityRead(size_t size, bool gba, std::vector<size_t> chunks);

    // Chunks that read alike so far but are suspect: every byte in them is held
    // to the margin (kHealMargin reads alike decide a byte that never differed).
    // Before the first add().
    void suspect(const std::vector<size_t>& chunks);

    // Takes one read of the chunks still open (data: a whole dump's buffer,
    // those chunks filled).
    void add(const uint8_t* data);
    // Every chunk read again, in the order taken.
    std::vector<size_t> chunks() const;
    // The chunks with a byte not decided yet.
    const std::vector<size_t>& open() const { return m_open; }
    // Writes each chunk's leading values into dump: the decided chunks, or
    // with guesses every chunk, decided or not.
    void settle(uint8_t* dump, bool guesses = false) const;

    // The addresses whose reads disagreed, in order.
    std::vector<size_t> unstable() const;
    // The unstable addresses whose lead is short of the margin, in order.
    std::vector<size_t> undecided() const;
    // For each data line (D0-D7, or D0-D15 on GBA), at how many addresses it
    // read differently.
    std::vector<size_t> line_flips() const;

private:
    // The reads of one unstable byte: each value seen with its count.
    struct Tally {
        size_t offset;  // in the chunk
        std::vector<std::pair<uint8_t, uint32_t>> counts;
        uint8_t leader() const;
        bool decided() const;
    };
    struct Chunk {
        size_t index;
        uint32_t reads = 0;
        std::vector<uint8_t> first;  // the first read; the value of every stable byte
        std::vector<Tally> tallies;  // by offset
        bool open = true;
        uint32_t leastReads = 2;  // kHealMargin for a suspect chunk
    };
    void add_to(Chunk& chunk, const uint8_t* read);
    size_t chunk_size(const Chunk& chunk) const;

    size_t m_size;
    bool m_gba;
    std::vector<Chunk> m_chunks;
    std::vector<size_t> m_open;
};

// The log lines of a heal: the unstable addresses (at most ten, then a
// count) and each flickering data line.
QStringList heal_lines(const MajorityRead& heal);
// The chunks of a GB ROM dump or save that hold the bus addresses of the
// unstable bytes in chunks, in every other bank: a worn contact flickers at a
// bus address, whichever bank shows there. chunks are where a and b differ;
// a ROM's bank 0 has a bus window of its own.
std::vector<size_t> gb_bank_aliases(const uint8_t* a, const uint8_t* b, size_t size,
                                    const std::vector<size_t>& chunks, bool rom);
// "0x4123, 0x5000 and 3 more": at most ten addresses, then a count.
QString address_list(const std::vector<size_t>& addresses);

// A data line that reads the same level (0 or 1) at every address of a dump.
struct StuckLine {
    int line;
    int level;
};
std::vector<StuckLine> stuck_lines(const uint8_t* dump, size_t size, bool gba);
QString stuck_line_text(const std::vector<StuckLine>& lines);
