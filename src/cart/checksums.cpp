#include "cart/checksums.h"

#include <cstring>

#include "cart/header.h"

namespace gb {

uint8_t gb_header_sum(const uint8_t* image) {
    uint8_t sum = 0;
    for (uint32_t a = kGbHeaderSumFirst; a <= kGbHeaderSumLast; ++a)
        sum = uint8_t(sum - image[a] - 1);
    return sum;
}

uint16_t gb_global_sum(const uint8_t* image, size_t size) {
    uint32_t sum = 0;
    for (size_t a = 0; a < size; ++a) sum += image[a];
    // The checksum's own two bytes do not count.
    if (size > kGbGlobalSumOffset + 1)
        sum -= uint32_t(image[kGbGlobalSumOffset]) + image[kGbGlobalSumOffset + 1];
    return uint16_t(sum);
}

uint8_t gba_complement(const uint8_t* image) {
    uint8_t sum = 0;
    for (uint32_t a = kGbaComplementFirst; a <= kGbaComplementLast; ++a)
        sum = uint8_t(sum - image[a]);
    return uint8_t(sum - 0x19);
}

namespace {

HeaderCheck check(HeaderCheckKind kind, uint32_t expected, uint32_t found) {
    return {kind, expected == found, expected, found};
}

bool logo_holds(const uint8_t* at, const uint8_t* logo, size_t size) {
    return std::memcmp(at, logo, size) == 0;
}

}  // namespace

std::vector<HeaderCheck> gb_header_checks(const uint8_t* header) {
    const bool logo = logo_holds(header + kGbLogoOffset, kGbLogo, kGbLogoSize);
    return {{HeaderCheckKind::GbLogo, logo, 0, 0},
            check(HeaderCheckKind::GbHeaderSum, header[kGbHeaderSumOffset], gb_header_sum(header))};
}

std::vector<HeaderCheck> gba_header_checks(const uint8_t* header) {
    const bool logo = logo_holds(header + kGbaLogoOffset, kGbaLogo, kGbaLogoSize);
    return {{HeaderCheckKind::GbaLogo, logo, 0, 0},
            check(HeaderCheckKind::GbaFixedByte, kGbaFixedValue, header[kGbaFixedOffset]),
            check(HeaderCheckKind::GbaComplement, header[kGbaComplementOffset],
                  gba_complement(header))};
}

std::vector<HeaderCheck> image_checks(bool gba, const uint8_t* image, size_t size) {
    if (gba) return gba_header_checks(image);
    std::vector<HeaderCheck> checks = gb_header_checks(image);
    const uint32_t stated =
        uint32_t(image[kGbGlobalSumOffset]) << 8 | image[kGbGlobalSumOffset + 1];
    checks.push_back(check(HeaderCheckKind::GbGlobalSum, stated, gb_global_sum(image, size)));
    return checks;
}

const HeaderCheck* header_sum_check(const std::vector<HeaderCheck>& checks) {
    for (const HeaderCheck& c : checks)
        if (c.kind == HeaderCheckKind::GbHeaderSum || c.kind == HeaderCheckKind::GbaComplement)
            return &c;
    return nullptr;
}

bool looks_like_gb(const uint8_t* image, size_t size) {
    return size > kGbGlobalSumOffset + 1 && logo_holds(image + kGbLogoOffset, kGbLogo, kGbLogoSize);
}

bool looks_like_gba(const uint8_t* image, size_t size) {
    return size > kGbaComplementOffset &&
           logo_holds(image + kGbaLogoOffset, kGbaLogo, kGbaLogoSize);
}

}  // namespace gb
