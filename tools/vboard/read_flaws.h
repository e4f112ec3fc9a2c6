// Flaws of a worn cartridge connector, applied to the bytes the board reads
// from the cartridge bus (GB bus addresses; GBA ROM byte addresses, whose odd
// bytes travel on D8-D15).
#pragma once

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace vboard {

struct Flicker {
    uint32_t address;
    uint8_t bit;
    double chance;  // of each read of the byte coming back with the bit flipped
};

struct ReadFlawOptions {
    std::vector<Flicker> flickers;
    int stuckLine = -1;  // a data line that always reads stuckLevel
    int stuckLevel = 0;
    std::vector<uint32_t> firstReadFlaws;  // bytes whose first read has bit 0 flipped
    uint32_t seed = 1;
};

// "ADDR:BIT:CHANCE" (CHANCE a fraction such as 0.33 or 1/3), "LINE:LEVEL";
// false when malformed.
bool parse_flicker(const std::string& text, Flicker* flicker);
bool parse_stuck_line(const std::string& text, int* line, int* level);

class ReadFlaws {
public:
    explicit ReadFlaws(ReadFlawOptions options);
    bool any() const;
    // The byte as the flawed connector delivers it.
    uint8_t apply(uint32_t address, uint8_t value, bool gba);

private:
    ReadFlawOptions m_options;
    std::mt19937 m_random;
    std::set<uint32_t> m_firstDone;
};

}  // namespace vboard
