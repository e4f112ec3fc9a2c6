#include "jobs/majority_read.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

struct HealText {
    Q_DECLARE_TR_FUNCTIONS(FamicomThread)
};

constexpr int kByteLines = 8;
constexpr size_t kListedAddresses = 10;

// The data line a bit of the byte at address travels on.
int line_of(size_t address, int bit, bool gba) {
    return gba && (address & 1) ? bit + kByteLines : bit;
}

}  // namespace

std::vector<size_t> differing_chunks(const uint8_t* a, const uint8_t* b, size_t size) {
    std::vector<size_t> out;
    for (size_t at = 0; at < size; at += kHealChunk) {
        const size_t n = std::min(kHealChunk, size - at);
        if (!std::equal(a + at, a + at + n, b + at)) out.push_back(at / kHealChunk);
    }
    return out;
}

MajorityRead::MajorityRead(size_t size, bool gba, std::vector<size_t> chunks)
    : m_size(size), m_gba(gba), m_open(std::move(chunks)) {
    for (size_t index : m_open) m_chunks.push_back({index, {}, {}, false});
}

void MajorityRead::add(const uint8_t* data) {
    std::vector<size_t> stillOpen;
    for (Chunk& c : m_chunks) {
        if (c.settled) continue;
        const size_t at = c.index * kHealChunk, n = std::min(kHealChunk, m_size - at);
        c.reads.emplace_back(data + at, data + at + n);
        c.settled = vote(c);
        if (!c.settled) stillOpen.push_back(c.index);
    }
    m_open = stillOpen;
}

// Each byte takes the value most reads give, when at least two give it and
// no other value is given as often. There are a few reads, so each value is
// counted against the others rather than in a table of all 256.
bool MajorityRead::vote(Chunk& c) const {
    const size_t n = c.reads.front().size(), count = c.reads.size();
    c.majority.assign(n, 0);
    bool all = true;
    for (size_t i = 0; i < n; ++i) {
        size_t best = 0;
        uint8_t value = c.reads.front()[i];
        bool tie = false;
        for (size_t j = 0; j < count; ++j) {
            const uint8_t v = c.reads[j][i];
            size_t same = 0;
            for (size_t k = 0; k < count; ++k) same += c.reads[k][i] == v;
            if (same > best) {
                best = same;
                value = v;
                tie = false;
            } else if (same == best && v != value) {
                tie = true;
            }
        }
        c.majority[i] = value;
        if (best < 2 || tie) all = false;
    }
    return all;
}

void MajorityRead::settle(uint8_t* dump) const {
    for (const Chunk& c : m_chunks)
        if (c.settled) std::copy(c.majority.begin(), c.majority.end(), dump + c.index * kHealChunk);
}

std::vector<size_t> MajorityRead::unstable() const {
    std::vector<size_t> out;
    for (const Chunk& c : m_chunks)
        for (size_t i = 0; i < c.reads.front().size(); ++i)
            for (const auto& r : c.reads)
                if (r[i] != c.reads.front()[i]) {
                    out.push_back(c.index * kHealChunk + i);
                    break;
                }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<size_t> MajorityRead::line_flips() const {
    std::vector<size_t> flips(m_gba ? 2 * kByteLines : kByteLines, 0);
    for (const Chunk& c : m_chunks)
        for (size_t i = 0; i < c.reads.front().size(); ++i) {
            uint8_t changed = 0;
            for (const auto& r : c.reads) changed |= uint8_t(r[i] ^ c.majority[i]);
            for (int bit = 0; bit < kByteLines; ++bit)
                if (changed >> bit & 1)
                    ++flips[size_t(line_of(c.index * kHealChunk + i, bit, m_gba))];
        }
    return flips;
}

QStringList heal_lines(const MajorityRead& heal) {
    QStringList lines;
    const std::vector<size_t> unstable = heal.unstable();
    QStringList listed;
    for (size_t i = 0; i < unstable.size() && i < kListedAddresses; ++i)
        listed << QStringLiteral("0x%1").arg(qulonglong(unstable[i]), 0, 16);
    QString text = HealText::tr("Unstable addresses: %1").arg(listed.join(QStringLiteral(", ")));
    if (unstable.size() > kListedAddresses)
        text += ' ' + HealText::tr("and %1 more").arg(unstable.size() - kListedAddresses);
    lines << text + '.';
    const std::vector<size_t> flips = heal.line_flips();
    for (size_t line = 0; line < flips.size(); ++line)
        if (flips[line])
            lines << HealText::tr(
                         "data line D%1 read differently at %2 addresses: clean the cartridge's "
                         "contacts")
                         .arg(line)
                         .arg(flips[line]);
    return lines;
}

std::vector<StuckLine> stuck_lines(const uint8_t* dump, size_t size, bool gba) {
    std::vector<StuckLine> out;
    const int lanes = gba ? 2 : 1;
    for (int lane = 0; lane < lanes; ++lane) {
        uint8_t ones = 0, zeros = 0;  // bits seen at 1, at 0
        for (size_t i = size_t(lane); i < size; i += size_t(lanes)) {
            ones |= dump[i];
            zeros |= uint8_t(~dump[i]);
        }
        if (size <= size_t(lane)) continue;
        for (int bit = 0; bit < kByteLines; ++bit) {
            if (!(zeros >> bit & 1)) out.push_back({bit + lane * kByteLines, 1});
            if (!(ones >> bit & 1)) out.push_back({bit + lane * kByteLines, 0});
        }
    }
    std::sort(out.begin(), out.end(),
              [](const StuckLine& a, const StuckLine& b) { return a.line < b.line; });
    return out;
}

QString stuck_line_text(const std::vector<StuckLine>& lines) {
    QStringList parts;
    for (const StuckLine& s : lines)
        parts << HealText::tr("data line D%1 reads %2 at every address").arg(s.line).arg(s.level);
    return parts.join(QStringLiteral("; ")) + QStringLiteral(": ") +
           HealText::tr("it is stuck (a broken contact or trace), so the dump cannot be good.");
}
