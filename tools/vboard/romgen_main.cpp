// romgen: writes synthetic cartridge images.
//   romgen gb TYPE ROMCODE RAMCODE OUT   header bytes, decimal or 0x hex (e.g. 0x1B)
//   romgen gba SIZE GAMECODE OUT         SIZE in bytes, or with K or M (8M, 512K)
//   romgen multicart OUT                 a 1 MiB MBC1 multicart of four games
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "romgen.h"

namespace {

constexpr uint64_t kKiB = 1024, kMiB = 1024 * 1024;
constexpr uint64_t kGbaHeader = 0xC0, kGbaLargest = 32 * kMiB;
constexpr unsigned kLargestRomCode = 8;  // 32 KiB << 8: 8 MiB

// The whole text as a number with an optional unit K or M (any case); false
// when anything is left over or it does not fit.
bool parse_number(const char* text, uint64_t* value, bool units) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long n = std::strtoull(text, &end, 0);
    if (end == text || errno || text[0] == '-') return false;
    uint64_t unit = 1;
    if (units && (*end == 'K' || *end == 'k')) unit = kKiB, ++end;
    if (units && (*end == 'M' || *end == 'm')) unit = kMiB, ++end;
    if (*end || n > UINT32_MAX) return false;
    *value = n * unit;
    return true;
}

[[noreturn]] void refuse(const char* why, const char* what) {
    std::fprintf(stderr, "romgen: %s: %s\n", why, what);
    std::exit(2);
}

uint8_t header_byte(const char* text) {
    uint64_t value = 0;
    if (!parse_number(text, &value, false) || value > 0xFF) refuse("not a header byte", text);
    return uint8_t(value);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<uint8_t> image;
    std::string out;
    if (argc == 6 && std::string(argv[1]) == "gb") {
        const uint8_t type = header_byte(argv[2]), romCode = header_byte(argv[3]);
        if (romCode > kLargestRomCode) refuse("ROM codes go up to 8 (8 MiB)", argv[3]);
        image = romgen::gb_image(type, romCode, header_byte(argv[4]));
        out = argv[5];
    } else if (argc == 5 && std::string(argv[1]) == "gba") {
        uint64_t size = 0;
        if (!parse_number(argv[2], &size, true))
            refuse("not a size such as 8M or 0x800000", argv[2]);
        if (size < kGbaHeader || size > kGbaLargest)
            refuse("a GBA image holds its 192-byte header and at most 32M", argv[2]);
        image = romgen::gba_image(uint32_t(size), argv[3]);
        out = argv[4];
    } else if (argc == 3 && std::string(argv[1]) == "multicart") {
        image = romgen::gb_multicart();
        out = argv[2];
    } else {
        std::fprintf(stderr,
                     "usage: romgen gb TYPE ROMCODE RAMCODE OUT\n"
                     "       romgen gba SIZE GAMECODE OUT      (SIZE: 8M, 512K, 0x800000)\n"
                     "       romgen multicart OUT              (1 MiB MBC1, four games)\n");
        return 2;
    }
    FILE* f = std::fopen(out.c_str(), "wb");
    if (!f || std::fwrite(image.data(), 1, image.size(), f) != image.size()) {
        std::fprintf(stderr, "romgen: cannot write %s\n", out.c_str());
        return 1;
    }
    return std::fclose(f) == 0 ? 0 : 1;
}
