#include "jobs/majority_read.h"

#include <QCoreApplication>
#include <algorithm>
#include <set>

#include "cart/header.h"

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
    for (size_t index : m_open) m_chunks.push_back({index, 0, {}, {}, true, 2});
}

std::vector<size_t> MajorityRead::chunks() const {
    std::vector<size_t> out;
    for (const Chunk& c : m_chunks) out.push_back(c.index);
    return out;
}

void MajorityRead::suspect(const std::vector<size_t>& chunks) {
    for (size_t index : chunks) {
        auto c = std::find_if(m_chunks.begin(), m_chunks.end(),
                              [index](const Chunk& k) { return k.index == index; });
        if (c == m_chunks.end()) {
            m_chunks.push_back({index, 0, {}, {}, true, kHealMargin});
            m_open.push_back(index);
        } else {
            c->leastReads = kHealMargin;
        }
    }
}

size_t MajorityRead::chunk_size(const Chunk& c) const {
    return std::min(kHealChunk, m_size - c.index * kHealChunk);
}

uint8_t MajorityRead::Tally::leader() const {
    return std::max_element(counts.begin(), counts.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->first;
}

// Decided when the leading value has kHealMargin reads more than any other.
bool MajorityRead::Tally::decided() const {
    uint32_t best = 0, second = 0;
    for (const auto& [value, n] : counts) {
        if (n > best) {
            second = best;
            best = n;
        } else if (n > second) {
            second = n;
        }
    }
    return best - second >= kHealMargin;
}

void MajorityRead::add_to(Chunk& c, const uint8_t* read) {
    const size_t n = chunk_size(c);
    if (c.reads++ == 0) {
        c.first.assign(read, read + n);
        return;
    }
    auto tally = c.tallies.begin();
    for (size_t i = 0; i < n; ++i) {
        const bool tallied = tally != c.tallies.end() && tally->offset == i;
        if (!tallied && read[i] == c.first[i]) continue;
        if (!tallied)  // the first read that differs: every read so far gave the first value
            tally = c.tallies.insert(tally, {i, {{c.first[i], c.reads - 1}}});
        auto& counts = tally->counts;
        auto seen = std::find_if(counts.begin(), counts.end(),
                                 [&](const auto& p) { return p.first == read[i]; });
        if (seen == counts.end())
            counts.emplace_back(read[i], 1);
        else
            ++seen->second;
        ++tally;
    }
}

void MajorityRead::add(const uint8_t* data) {
    m_open.clear();
    for (Chunk& c : m_chunks) {
        if (!c.open) continue;
        add_to(c, data + c.index * kHealChunk);
        c.open = c.reads < c.leastReads || !std::all_of(c.tallies.begin(), c.tallies.end(),
                                                        [](const Tally& t) { return t.decided(); });
        if (c.open) m_open.push_back(c.index);
    }
}

void MajorityRead::settle(uint8_t* dump, bool guesses) const {
    for (const Chunk& c : m_chunks) {
        if ((c.open && !guesses) || c.first.empty()) continue;
        uint8_t* at = dump + c.index * kHealChunk;
        std::copy(c.first.begin(), c.first.end(), at);
        for (const Tally& t : c.tallies) at[t.offset] = t.leader();
    }
}

std::vector<size_t> MajorityRead::unstable() const {
    std::vector<size_t> out;
    for (const Chunk& c : m_chunks)
        for (const Tally& t : c.tallies) out.push_back(c.index * kHealChunk + t.offset);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<size_t> MajorityRead::undecided() const {
    std::vector<size_t> out;
    for (const Chunk& c : m_chunks)
        for (const Tally& t : c.tallies)
            if (!t.decided()) out.push_back(c.index * kHealChunk + t.offset);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<size_t> MajorityRead::line_flips() const {
    std::vector<size_t> flips(m_gba ? 2 * kByteLines : kByteLines, 0);
    for (const Chunk& c : m_chunks)
        for (const Tally& t : c.tallies) {
            uint8_t changed = 0;
            for (const auto& [value, n] : t.counts) changed |= uint8_t(value ^ t.leader());
            for (int bit = 0; bit < kByteLines; ++bit)
                if (changed >> bit & 1)
                    ++flips[size_t(line_of(c.index * kHealChunk + t.offset, bit, m_gba))];
        }
    return flips;
}

std::vector<size_t> gb_bank_aliases(const uint8_t* a, const uint8_t* b, size_t size,
                                    const std::vector<size_t>& chunks, bool rom) {
    const size_t bank = rom ? gb::kGbRomBank : gb::kGbRamBank;
    const size_t switchable = rom ? bank : 0;  // where the banks that share a window begin
    std::set<size_t> windows;                  // offsets in the switchable window that differ
    for (size_t chunk : chunks)
        for (size_t at = chunk * kHealChunk; at < std::min(size, (chunk + 1) * kHealChunk); ++at)
            if (a[at] != b[at] && at >= switchable) windows.insert(at % bank);
    std::set<size_t> out;
    for (size_t w : windows)
        for (size_t at = switchable + w; at < size; at += bank) out.insert(at / kHealChunk);
    for (size_t chunk : chunks) out.erase(chunk);
    return {out.begin(), out.end()};
}

QString address_list(const std::vector<size_t>& addresses) {
    QStringList listed;
    for (size_t i = 0; i < addresses.size() && i < kListedAddresses; ++i)
        listed << QStringLiteral("0x%1").arg(qulonglong(addresses[i]), 0, 16);
    QString text = listed.join(QStringLiteral(", "));
    if (addresses.size() > kListedAddresses)
        text += ' ' + HealText::tr("and %1 more").arg(addresses.size() - kListedAddresses);
    return text;
}

QStringList heal_lines(const MajorityRead& heal) {
    QStringList lines;
    lines << HealText::tr("Unstable addresses: %1").arg(address_list(heal.unstable())) + '.';
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
