// The checks a cartridge header carries: the GB/GBC header and global
// checksums, the GBA fixed byte and complement check, and both logos.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gb {

inline constexpr uint32_t kGbHeaderSumFirst = 0x134;  // the header checksum covers 0x134..0x14C
inline constexpr uint32_t kGbHeaderSumLast = 0x14C;
inline constexpr uint32_t kGbHeaderSumOffset = 0x14D;
inline constexpr uint32_t kGbGlobalSumOffset = 0x14E;  // big-endian, 0x14E..0x14F
inline constexpr uint32_t kGbaComplementFirst = 0xA0;  // the complement covers 0xA0..0xBC
inline constexpr uint32_t kGbaComplementLast = 0xBC;
inline constexpr uint32_t kGbaComplementOffset = 0xBD;
inline constexpr uint32_t kGbaFixedOffset = 0xB2;
inline constexpr uint8_t kGbaFixedValue = 0x96;

enum class HeaderCheckKind {
    GbLogo,
    GbHeaderSum,
    GbGlobalSum,
    GbaLogo,
    GbaFixedByte,
    GbaComplement
};

struct HeaderCheck {
    HeaderCheckKind kind;
    bool holds;
    uint32_t expected;  // what the header says (or the fixed value)
    uint32_t found;     // what the bytes give
};

// The header checksum and the global checksum of a GB/GBC image as computed.
uint8_t gb_header_sum(const uint8_t* image);
uint16_t gb_global_sum(const uint8_t* image, size_t size);
uint8_t gba_complement(const uint8_t* image);

// The checks of a header read from a cartridge (the first bytes of its ROM).
std::vector<HeaderCheck> gb_header_checks(const uint8_t* header);
std::vector<HeaderCheck> gba_header_checks(const uint8_t* header);
// The checks of a whole image: the header's, and for GB/GBC the global checksum.
std::vector<HeaderCheck> image_checks(bool gba, const uint8_t* image, size_t size);

// The header checksum of a GB header, or the complement check of a GBA one.
const HeaderCheck* header_sum_check(const std::vector<HeaderCheck>& checks);

// Whether an image begins with the GB or the GBA logo (and is long enough for its header).
bool looks_like_gb(const uint8_t* image, size_t size);
bool looks_like_gba(const uint8_t* image, size_t size);

}  // namespace gb
