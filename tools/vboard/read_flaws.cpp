#include "read_flaws.h"

#include <algorithm>
#include <cstdlib>

namespace vboard {
namespace {

constexpr int kByteLines = 8;

bool number(const std::string& text, unsigned long* value) {
    char* end = nullptr;
    *value = std::strtoul(text.c_str(), &end, 0);
    return !text.empty() && *end == 0;
}

bool fraction(const std::string& text, double* value) {
    const size_t slash = text.find('/');
    char* end = nullptr;
    if (slash == std::string::npos) {
        *value = std::strtod(text.c_str(), &end);
        return !text.empty() && *end == 0 && *value >= 0 && *value <= 1;
    }
    unsigned long a = 0, b = 0;
    if (!number(text.substr(0, slash), &a) || !number(text.substr(slash + 1), &b) || !b || a > b)
        return false;
    *value = double(a) / double(b);
    return true;
}

}  // namespace

bool parse_flicker(const std::string& text, Flicker* flicker) {
    const size_t first = text.find(':'), second = text.find(':', first + 1);
    unsigned long address = 0, bit = 0;
    if (second == std::string::npos || !number(text.substr(0, first), &address) ||
        !number(text.substr(first + 1, second - first - 1), &bit) || bit >= kByteLines ||
        !fraction(text.substr(second + 1), &flicker->chance))
        return false;
    flicker->address = uint32_t(address);
    flicker->bit = uint8_t(bit);
    return true;
}

bool parse_stuck_line(const std::string& text, int* line, int* level) {
    const size_t colon = text.find(':');
    unsigned long l = 0, v = 0;
    if (colon == std::string::npos || !number(text.substr(0, colon), &l) ||
        !number(text.substr(colon + 1), &v) || l >= 2 * kByteLines || v > 1)
        return false;
    *line = int(l);
    *level = int(v);
    return true;
}

ReadFlaws::ReadFlaws(ReadFlawOptions options)
    : m_options(std::move(options)), m_random(m_options.seed) {}

bool ReadFlaws::any() const {
    return !m_options.flickers.empty() || m_options.stuckLine >= 0 ||
           !m_options.firstReadFlaws.empty();
}

uint8_t ReadFlaws::apply(uint32_t address, uint8_t value, bool gba) {
    for (const Flicker& f : m_options.flickers)
        if (f.address == address &&
            std::uniform_real_distribution<double>(0, 1)(m_random) < f.chance)
            value ^= uint8_t(1 << f.bit);
    const auto& first = m_options.firstReadFlaws;
    if (std::find(first.begin(), first.end(), address) != first.end() &&
        m_firstDone.insert(address).second)
        value ^= 0x01;
    if (m_options.stuckLine >= 0) {
        // A GB byte travels on D0-D7; a GBA halfword's odd byte on D8-D15.
        const int lane = gba && (address & 1) ? kByteLines : 0;
        const int bit = m_options.stuckLine - lane;
        if (bit >= 0 && bit < kByteLines)
            value = m_options.stuckLevel ? uint8_t(value | 1 << bit) : uint8_t(value & ~(1 << bit));
    }
    return value;
}

}  // namespace vboard
