// romgen: writes synthetic cartridge images.
//   romgen gb TYPE ROMCODE RAMCODE OUT      (numbers in C notation, e.g. 0x1B)
//   romgen gba SIZE GAMECODE OUT
#include <cstdio>
#include <cstdlib>
#include <string>

#include "romgen.h"

int main(int argc, char** argv) {
    std::vector<uint8_t> image;
    std::string out;
    if (argc == 6 && std::string(argv[1]) == "gb") {
        image = romgen::gb_image(uint8_t(std::strtoul(argv[2], nullptr, 0)),
                                 uint8_t(std::strtoul(argv[3], nullptr, 0)),
                                 uint8_t(std::strtoul(argv[4], nullptr, 0)));
        out = argv[5];
    } else if (argc == 5 && std::string(argv[1]) == "gba") {
        image = romgen::gba_image(uint32_t(std::strtoul(argv[2], nullptr, 0)), argv[3]);
        out = argv[4];
    } else {
        std::fprintf(stderr,
                     "usage: romgen gb TYPE ROMCODE RAMCODE OUT\n"
                     "       romgen gba SIZE GAMECODE OUT\n");
        return 2;
    }
    FILE* f = std::fopen(out.c_str(), "wb");
    if (!f || std::fwrite(image.data(), 1, image.size(), f) != image.size()) {
        std::fprintf(stderr, "romgen: cannot write %s\n", out.c_str());
        return 1;
    }
    return std::fclose(f) == 0 ? 0 : 1;
}
